#include "counter/swatch.h"

#include "counter/layout.h"

namespace counterpal {
namespace {

void appendPaletteEntry(ByteBuffer& run, ByteView sheet, layout::PixelPlace place) {
  const ByteView pixel = sheet.subspan(layout::swatchPixelOffset(place.column, place.storedRow),
                                       layout::kSwatchPixelSize);
  run.insert(run.end(), pixel.begin(), pixel.end());
  run.push_back(0);
}

ByteBuffer emptyRun(int entries) {
  ByteBuffer run;
  run.reserve(static_cast<std::size_t>(entries) * layout::kPaletteEntrySize);
  return run;
}

// The grid's row as palette entries, its columns from left to right.
ByteBuffer gridRow(ByteView sheet, const layout::SwatchGrid& grid, int storedRow) {
  ByteBuffer row = emptyRun(grid.columns);
  for (int column = grid.firstColumn; column < grid.firstColumn + grid.columns; ++column) {
    appendPaletteEntry(row, sheet, {column, storedRow});
  }
  return row;
}

// Rows are gathered bottom-up but the run begins with the grid's top row.
void prependRow(ByteBuffer& run, const ByteBuffer& row) {
  run.insert(run.begin(), row.begin(), row.end());
}

// One pass over the stored rows serves both grids.
static_assert(layout::kLeftGrid.highestStoredRow == layout::kRightGrid.highestStoredRow);
static_assert(layout::kLeftGrid.lowestStoredRow >= layout::kRightGrid.lowestStoredRow);

}  // namespace

SwatchRuns readSwatches(ByteView swatchSheet, std::ostream& progress) {
  SwatchRuns runs{emptyRun(layout::kLeftGrid.entries()), emptyRun(layout::kRightGrid.entries()),
                  emptyRun(static_cast<int>(layout::kSingleSwatches.size()))};
  for (int row = layout::kRightGrid.lowestStoredRow; row <= layout::kRightGrid.highestStoredRow;
       ++row) {
    if (row >= layout::kLeftGrid.lowestStoredRow) {
      progress << "OK So far1!" << row << std::endl;
      prependRow(runs.leftGrid, gridRow(swatchSheet, layout::kLeftGrid, row));
    }
    progress << "OK So far2!" << row << std::endl;
    prependRow(runs.rightGrid, gridRow(swatchSheet, layout::kRightGrid, row));
  }
  for (const layout::PixelPlace place : layout::kSingleSwatches) {
    appendPaletteEntry(runs.singles, swatchSheet, place);
  }
  return runs;
}

}  // namespace counterpal
