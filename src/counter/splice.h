// The palette splice: the swatch runs laid over the prototype's colour table.
#pragma once

#include <ostream>

#include "bytes.h"
#include "counter/swatch.h"

namespace counterpal {

// Overwrites palette entries 2-127, 144-243 and 251-255 of a prototype that passed the counter
// check, after writing the progress line "OK So far!". Nothing else changes, except that a
// prototype cut short inside its last palette entries grows to hold the whole colour table.
void splicePalette(ByteBuffer& prototype, const SwatchRuns& runs, std::ostream& progress);

}  // namespace counterpal
