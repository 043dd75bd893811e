#include "counter/splice.h"

#include <gtest/gtest.h>

#include <sstream>

#include "counter/test_counters.h"

namespace counterpal {
namespace {

// Runs whose every byte is distinct from the numbered prototype's, fourth bytes 0.
SwatchRuns markedRuns() {
  SwatchRuns runs;
  auto fill = [](ByteBuffer& run, std::size_t entries, std::uint8_t mark) {
    for (std::size_t i = 0; i < entries; ++i)
      run.insert(run.end(), {mark, static_cast<std::uint8_t>(i), mark, 0});
  };
  fill(runs.leftGrid, 126, 0xE1);
  fill(runs.rightGrid, 100, 0xE2);
  fill(runs.singles, 5, 0xE3);
  return runs;
}

bool inAStretch(std::size_t offset) {
  return (offset >= 62 && offset <= 565) || (offset >= 630 && offset <= 1029) ||
         (offset >= 1058 && offset <= 1077);
}

ByteBuffer spliced(ByteBuffer prototype, const SwatchRuns& runs) {
  std::ostringstream progress;
  splicePalette(prototype, runs, progress);
  return prototype;
}

TEST(SplicePalette, ChangesOnlyTheThreeStretches) {
  const ByteBuffer prototype = testing::numberedPrototype();
  const SwatchRuns runs = markedRuns();
  const ByteBuffer result = spliced(prototype, runs);

  ASSERT_EQ(prototype.size(), result.size());
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (!inAStretch(i)) {
      EXPECT_EQ(prototype[i], result[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(runs.leftGrid, testing::bytesAt(result, 62, 504));
  EXPECT_EQ(runs.rightGrid, testing::bytesAt(result, 630, 400));
  EXPECT_EQ(runs.singles, testing::bytesAt(result, 1058, 20));
  for (std::size_t fourth = 57; fourth < 1078; fourth += 4) {
    EXPECT_EQ(inAStretch(fourth) ? 0 : 0x77, result[fourth]) << "fourth byte at " << fourth;
  }
  EXPECT_EQ(result, spliced(result, runs)) << "splicing again changes nothing";
}

// The counter check lets through prototypes from 1058 bytes on; one cut short inside its last
// palette entries grows to hold the whole colour table.
TEST(SplicePalette, ShortPrototypeGrowsToTheEndOfTheColourTable) {
  const ByteBuffer whole = testing::numberedPrototype();
  const SwatchRuns runs = markedRuns();
  const struct {
    std::size_t length;
    std::size_t expected;
  } cases[] = {{1058, 1078}, {1060, 1078}, {1077, 1078}, {1078, 1078}, {1079, 1079}};
  for (const auto& c : cases) {
    const ByteBuffer result = spliced(testing::cutTo(whole, c.length), runs);
    ASSERT_EQ(c.expected, result.size()) << c.length;
    EXPECT_EQ(runs.singles, testing::bytesAt(result, 1058, 20)) << c.length;
    EXPECT_EQ(testing::bytesAt(whole, 0, 62), testing::bytesAt(result, 0, 62)) << c.length;
  }
}

TEST(SplicePalette, AnnouncesItself) {
  std::ostringstream progress;
  ByteBuffer prototype = testing::numberedPrototype();
  splicePalette(prototype, markedRuns(), progress);
  EXPECT_EQ("OK So far!\n", progress.str());
}

}  // namespace
}  // namespace counterpal
