#include "counter/swatch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "counter/test_counters.h"

namespace counterpal {
namespace {

struct Place {
  int column;
  int storedRow;
  bool operator==(const Place&) const = default;
};

// Where the tell-tale sheet's pixel behind palette entry `index` of `run` sat.
Place sourceOf(const ByteBuffer& run, int index) {
  const std::size_t at = static_cast<std::size_t>(index) * 4;
  return {run.at(at + 2), run.at(at + 1)};
}

SwatchRuns readQuietly(ByteView sheet) {
  std::ostringstream progress;
  return readSwatches(sheet, progress);
}

TEST(ReadSwatches, RunsHoldWholePaletteEntriesWithAZeroFourthByte) {
  const SwatchRuns runs = readQuietly(testing::tellTaleSheet());
  EXPECT_EQ(504u, runs.leftGrid.size());
  EXPECT_EQ(400u, runs.rightGrid.size());
  EXPECT_EQ(20u, runs.singles.size());
  for (const ByteBuffer* run : {&runs.leftGrid, &runs.rightGrid, &runs.singles}) {
    for (std::size_t fourth = 3; fourth < run->size(); fourth += 4) {
      EXPECT_EQ(0, (*run)[fourth]);
      EXPECT_EQ(0xA5, (*run)[fourth - 3]) << "blue comes first, as stored";
    }
  }
}

// Grids run from their top row down and each row from left to right; the singles run upwards.
TEST(ReadSwatches, TakesEachEntryFromItsPixel) {
  const SwatchRuns runs = readQuietly(testing::tellTaleSheet());
  for (int i = 0; i < 126; ++i) {
    EXPECT_EQ((Place{4 + i % 14, 12 - i / 14}), sourceOf(runs.leftGrid, i)) << "left entry " << i;
  }
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ((Place{35 + i % 10, 12 - i / 10}), sourceOf(runs.rightGrid, i))
        << "right entry " << i;
  }
  const std::vector<Place> singles = {{2, 1}, {1, 2}, {7, 17}, {6, 18}, {2, 19}};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(singles[i], sourceOf(runs.singles, i)) << "single " << i;

  EXPECT_EQ((Place{4, 12}), sourceOf(runs.leftGrid, 0));
  EXPECT_EQ((Place{17, 4}), sourceOf(runs.leftGrid, 125));
  EXPECT_EQ((Place{35, 12}), sourceOf(runs.rightGrid, 0));
  EXPECT_EQ((Place{44, 3}), sourceOf(runs.rightGrid, 99));
}

TEST(ReadSwatches, IgnoresEveryOtherPixel) {
  const ByteBuffer sheet = testing::tellTaleSheet();
  const SwatchRuns before = readQuietly(sheet);
  const std::vector<Place> ignored = {{4, 3},  {35, 13}, {3, 12}, {18, 4}, {34, 12}, {45, 3},
                                      {0, 7},  {63, 7},  {2, 0},  {2, 20}, {1, 1},   {17, 13},
                                      {20, 8}, {7, 16},  {6, 19}, {44, 2}};
  for (const Place place : ignored) {
    ByteBuffer changed = sheet;
    changed.at(testing::swatchPixelOffset(place.column, place.storedRow)) ^= 0xFF;
    const SwatchRuns after = readQuietly(changed);
    EXPECT_EQ(before.leftGrid, after.leftGrid) << place.column << "," << place.storedRow;
    EXPECT_EQ(before.rightGrid, after.rightGrid) << place.column << "," << place.storedRow;
    EXPECT_EQ(before.singles, after.singles) << place.column << "," << place.storedRow;
  }
}

TEST(ReadSwatches, ReadsNothingPastTheLastSingleSwatch) {
  const ByteBuffer whole = testing::tellTaleSheet();
  const ByteBuffer shortest = testing::cutTo(whole, 3711);
  const SwatchRuns fromWhole = readQuietly(whole);
  const SwatchRuns fromShortest = readQuietly(shortest);
  EXPECT_EQ(fromWhole.leftGrid, fromShortest.leftGrid);
  EXPECT_EQ(fromWhole.rightGrid, fromShortest.rightGrid);
  EXPECT_EQ(fromWhole.singles, fromShortest.singles);
}

TEST(ReadSwatches, WritesNineteenProgressLines) {
  std::ostringstream progress;
  readSwatches(testing::tellTaleSheet(), progress);
  std::string expected = "OK So far2!3\n";
  for (int row = 4; row <= 12; ++row) {
    expected += "OK So far1!" + std::to_string(row) + "\nOK So far2!" + std::to_string(row) + "\n";
  }
  EXPECT_EQ(expected, progress.str());
}

}  // namespace
}  // namespace counterpal
