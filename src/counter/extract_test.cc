#include "counter/extract.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <utility>

#include "counter/check.h"
#include "counter/splice.h"
#include "counter/swatch.h"
#include "counter/test_counters.h"

namespace counterpal {
namespace {

std::uint32_t field(const ByteBuffer& bytes, std::size_t offset, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | bytes.at(offset + static_cast<std::size_t>(i));
  return value;
}

// A prototype with random colours (fourth bytes 0, as a well-made file has them) and pixels.
ByteBuffer randomPrototype(std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::array<counter_files::Rgb, 256> palette;
  for (auto& colour : palette) {
    colour = {static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
              static_cast<std::uint8_t>(byte(random))};
  }
  return counter_files::prototypeCounter(
      palette, [&](int, int) { return static_cast<std::uint8_t>(byte(random)); });
}

ByteBuffer transferred(const ByteBuffer& sheet, ByteBuffer prototype) {
  std::ostringstream progress;
  splicePalette(prototype, readSwatches(sheet, progress), progress);
  return prototype;
}

TEST(ExtractSwatchSheet, IsAWellFormedTwentyFourBitCounter) {
  const ByteBuffer sheet = extractSwatchSheet(testing::numberedPrototype());
  ASSERT_EQ(6582u, sheet.size());
  EXPECT_EQ('B', sheet[0]);
  EXPECT_EQ('M', sheet[1]);
  const std::pair<std::size_t, std::uint32_t> fields[] = {
      {2, 6582}, {6, 0}, {10, 54}, {14, 40}, {18, 64}, {22, 34}, {30, 0}, {34, 6528}, {46, 0}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(value, field(sheet, offset, 4)) << offset;
  EXPECT_EQ(1u, field(sheet, 26, 2)) << "planes";
  EXPECT_EQ(24u, field(sheet, 28, 2)) << "bits per pixel";
}

TEST(ExtractSwatchSheet, PaintsEachEntryIntoItsSwatchAndEveryOtherPixelGrey) {
  const ByteBuffer prototype = testing::numberedPrototype();
  const ByteBuffer sheet = extractSwatchSheet(prototype);
  std::set<std::pair<int, int>> swatches;
  auto pixelAt = [&](int column, int row) {
    return testing::bytesAt(sheet, testing::swatchPixelOffset(column, row), 3);
  };
  auto expectEntryAt = [&](int entry, int column, int row) {
    EXPECT_EQ(testing::bytesAt(prototype, testing::paletteEntryOffset(entry), 3),
              pixelAt(column, row))
        << "entry " << entry;
    swatches.insert({column, row});
  };
  for (int i = 0; i < 126; ++i) expectEntryAt(2 + i, 4 + i % 14, 12 - i / 14);
  for (int i = 0; i < 100; ++i) expectEntryAt(144 + i, 35 + i % 10, 12 - i / 10);
  const std::pair<int, int> singles[] = {{2, 1}, {1, 2}, {7, 17}, {6, 18}, {2, 19}};
  for (int i = 0; i < 5; ++i) expectEntryAt(251 + i, singles[i].first, singles[i].second);

  ASSERT_EQ(231u, swatches.size());
  for (int row = 0; row < 34; ++row) {
    for (int column = 0; column < 64; ++column) {
      if (swatches.count({column, row}) != 0) continue;
      EXPECT_EQ((ByteBuffer{128, 128, 128}), pixelAt(column, row)) << column << "," << row;
    }
  }
}

// Handing the extracted sheet back with its prototype changes nothing.
TEST(ExtractSwatchSheet, RoundTripGivesBackThePrototype) {
  // A fixed seed: the same prototypes on every run, so a failure can be repeated.
  std::mt19937 random(20261211);  // NOLINT(cert-msc32-c,cert-msc51-cpp)
  for (int i = 0; i < 500; ++i) {
    const ByteBuffer prototype = randomPrototype(random);
    const ByteBuffer sheet = extractSwatchSheet(prototype);
    ASSERT_EQ(std::nullopt, checkCounters(sheet, prototype));
    ASSERT_EQ(prototype, transferred(sheet, prototype)) << "prototype " << i;
  }
}

TEST(CheckPrototype, TakesOnlyAnEightBitCounterWithItsWholeColourTable) {
  const ByteBuffer prototype = testing::numberedPrototype();
  const struct {
    const char* what;
    ByteBuffer input;
    std::optional<Failure> expected;
  } cases[] = {
      {"a prototype", prototype, std::nullopt},
      {"just its headers and colour table", testing::cutTo(prototype, 1078), std::nullopt},
      {"one byte short of its colour table", testing::cutTo(prototype, 1077),
       Failure::kFirstNotCounter},
      {"empty", {}, Failure::kFirstNotBitmap},
      {"no signature", testing::withByte(prototype, 0, 'b'), Failure::kFirstNotBitmap},
      {"wrong height", testing::withByte(prototype, 22, 35), Failure::kFirstNotCounter},
      {"a swatch sheet", testing::tellTaleSheet(), Failure::kNoPrototype},
      {"signature only", {'B', 'M'}, Failure::kFirstNotCounter},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, checkPrototype(c.input)) << c.what;
}

}  // namespace
}  // namespace counterpal
