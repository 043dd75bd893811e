// The reverse of the palette splice: a swatch sheet painted with a prototype's own colours.
#pragma once

#include "bytes.h"

namespace counterpal {

// A complete 24-bit swatch sheet whose swatch pixels hold the palette entries 2-127, 144-243 and
// 251-255 of a prototype that passed checkPrototype, each where the swatch reading takes it
// from; every other pixel is neutral grey.
ByteBuffer extractSwatchSheet(ByteView prototype);

}  // namespace counterpal
