#include "counter/splice.h"

#include <algorithm>
#include <cassert>

#include "counter/layout.h"

namespace counterpal {
namespace {

void overwrite(ByteBuffer& prototype, std::size_t offset, const ByteBuffer& run) {
  assert(offset <= prototype.size() && "the counter check guarantees the run's start");
  prototype.resize(std::max(prototype.size(), offset + run.size()));
  std::copy(run.begin(), run.end(), prototype.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

void splicePalette(ByteBuffer& prototype, const SwatchRuns& runs, std::ostream& progress) {
  progress << "OK So far!" << std::endl;
  overwrite(prototype, layout::paletteOffset(layout::kLeftGrid.firstEntry), runs.leftGrid);
  overwrite(prototype, layout::paletteOffset(layout::kRightGrid.firstEntry), runs.rightGrid);
  overwrite(prototype, layout::paletteOffset(layout::kFirstSingleEntry), runs.singles);
}

}  // namespace counterpal
