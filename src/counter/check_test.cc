#include "counter/check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counter/test_counters.h"

namespace counterpal {
namespace {

using testing::cutTo;
using testing::withByte;

const ByteBuffer kSheet = testing::tellTaleSheet();
const ByteBuffer kPrototype = testing::numberedPrototype();

struct CheckCase {
  std::string what;
  ByteBuffer first;
  ByteBuffer second;
  std::optional<Failure> expected;
};

TEST(CheckCounters, RunsItsTestsInOrder) {
  const ByteBuffer noBitmap = withByte(kSheet, 0, 'b');
  const std::vector<CheckCase> cases = {
      {"swatch sheet first", kSheet, kPrototype, std::nullopt},
      {"prototype first", kPrototype, kSheet, std::nullopt},
      {"first lacks B", noBitmap, kPrototype, Failure::kFirstNotBitmap},
      {"second lacks M", kSheet, withByte(kPrototype, 1, 'm'), Failure::kSecondNotBitmap},
      {"neither is a bitmap", noBitmap, withByte(kPrototype, 0, 0), Failure::kFirstNotBitmap},
      {"signatures before sizes", withByte(kSheet, 22, 35), withByte(kPrototype, 0, 0),
       Failure::kSecondNotBitmap},
      {"first too wide", withByte(kSheet, 18, 65), kPrototype, Failure::kFirstNotCounter},
      {"second too high", kSheet, withByte(kPrototype, 22, 33), Failure::kSecondNotCounter},
      {"sizes before depths", withByte(kSheet, 28, 8), withByte(kPrototype, 18, 0),
       Failure::kSecondNotCounter},
      {"top-down first (height -34)", withByte(withByte(kSheet, 22, 0xDE), 23, 0xFF), kPrototype,
       Failure::kFirstNotCounter},
      {"top-down second", kSheet, withByte(withByte(kPrototype, 22, 0xDE), 23, 0xFF),
       Failure::kSecondNotCounter},
      {"only the lowest byte of width, height and depth counts (320, 290, 280)",
       withByte(withByte(withByte(kSheet, 19, 1), 23, 1), 29, 1), kPrototype, std::nullopt},
      {"two 24-bit counters", kSheet, kSheet, Failure::kNoPrototype},
      {"two 8-bit counters", kPrototype, kPrototype, Failure::kNoSwatchSheet},
      {"16-bit beside an 8-bit", withByte(kSheet, 28, 16), kPrototype, Failure::kNoSwatchSheet},
      {"16-bit beside a 24-bit", kSheet, withByte(kPrototype, 28, 16), Failure::kNoPrototype},
      {"32-bit first beside a 24-bit", withByte(kPrototype, 28, 32), kSheet, Failure::kNoPrototype},
  };
  for (const CheckCase& c : cases) {
    EXPECT_EQ(c.expected, checkCounters(c.first, c.second)) << c.what;
  }
}

// Short files: a compared byte beyond the end never matches, and a counter too short for the
// stage that reads it is refused by its position on the command line.
TEST(CheckCounters, RefusesShortInputsWithoutReadingPastThem) {
  const ByteBuffer bm = {'B', 'M'};
  const std::vector<CheckCase> cases = {
      {"empty first", {}, kPrototype, Failure::kFirstNotBitmap},
      {"empty second", kSheet, {}, Failure::kSecondNotBitmap},
      {"one byte", {'B'}, kPrototype, Failure::kFirstNotBitmap},
      {"signature only", bm, kPrototype, Failure::kFirstNotCounter},
      {"ends before the height", cutTo(kSheet, 22), kPrototype, Failure::kFirstNotCounter},
      {"ends before the depth", kSheet, cutTo(kPrototype, 28), Failure::kNoPrototype},
      {"sheet one byte short of its last swatch", cutTo(kSheet, 3710), kPrototype,
       Failure::kFirstNotCounter},
      {"sheet just long enough", cutTo(kSheet, 3711), kPrototype, std::nullopt},
      {"short sheet named second", kPrototype, cutTo(kSheet, 3710), Failure::kSecondNotCounter},
      {"prototype short of palette entry 251", kSheet, cutTo(kPrototype, 1057),
       Failure::kSecondNotCounter},
      {"prototype reaching palette entry 251", kSheet, cutTo(kPrototype, 1058), std::nullopt},
      {"short prototype named first", cutTo(kPrototype, 1057), kSheet, Failure::kFirstNotCounter},
      {"both short", cutTo(kPrototype, 100), cutTo(kSheet, 100), Failure::kFirstNotCounter},
  };
  for (const CheckCase& c : cases) {
    EXPECT_EQ(c.expected, checkCounters(c.first, c.second)) << c.what;
  }
}

TEST(AssignRoles, TheTwentyFourBitInputIsTheSwatchSheetInEitherOrder) {
  const Roles sheetFirst = assignRoles(kSheet, kPrototype);
  EXPECT_EQ(kSheet, sheetFirst.swatchSheet);
  EXPECT_EQ(kPrototype, sheetFirst.prototype);

  const Roles prototypeFirst = assignRoles(kPrototype, kSheet);
  EXPECT_EQ(kSheet, prototypeFirst.swatchSheet);
  EXPECT_EQ(kPrototype, prototypeFirst.prototype);
}

}  // namespace
}  // namespace counterpal
