// The swatch reading: the swatch sheet's fixed pixels turned into palette entries.
#pragma once

#include <ostream>

#include "bytes.h"

namespace counterpal {

// Consecutive palette entries (blue, green, red, 0), ready to lay into a colour table.
struct SwatchRuns {
  ByteBuffer leftGrid;   // 126 entries, for palette entries 2-127
  ByteBuffer rightGrid;  // 100 entries, for palette entries 144-243
  ByteBuffer singles;    // 5 entries, for palette entries 251-255
};

// Reads the three swatch runs from a sheet that passed the counter check, writing one progress
// line per grid row to `progress` as it goes.
SwatchRuns readSwatches(ByteView swatchSheet, std::ostream& progress);

}  // namespace counterpal
