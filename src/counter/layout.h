// Where things lie in a counter: a 64x34 bitmap with the standard 54-byte header.
// Every offset the tool uses is derived here; no stage reads a size or offset field of a header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace counterpal::layout {

// Header bytes compared by the counter check. Multi-byte fields are little-endian, and only
// their lowest byte is compared.
inline constexpr std::size_t kSignatureOffset = 0;  // "BM"
inline constexpr std::uint8_t kSignatureFirst = 0x42;
inline constexpr std::uint8_t kSignatureSecond = 0x4D;
inline constexpr std::size_t kWidthOffset = 18;   // biWidth
inline constexpr std::size_t kHeightOffset = 22;  // biHeight; positive: stored row 0 is the bottom
inline constexpr std::size_t kBitCountOffset = 28;  // biBitCount

inline constexpr int kWidth = 64;
inline constexpr int kHeight = 34;
inline constexpr std::uint8_t kSwatchBits = 24;
inline constexpr std::uint8_t kPrototypeBits = 8;

// 14-byte file header followed by the 40-byte information header.
inline constexpr std::size_t kHeaderSize = 54;

// Swatch sheet: 24-bit pixels (blue, green, red) right after the header, no colour table.
// A row of 64 three-byte pixels is 192 bytes, a multiple of four, so rows carry no padding.
inline constexpr std::size_t kSwatchPixelSize = 3;
inline constexpr std::size_t kSwatchRowSize = kWidth * kSwatchPixelSize;
inline constexpr std::size_t kSwatchPixelStart = kHeaderSize;
inline constexpr std::size_t kSwatchSheetSize = kSwatchPixelStart + kHeight * kSwatchRowSize;

// Byte offset of the pixel at `column` (0 = left) of `storedRow` (0 = bottom row of the picture).
constexpr std::size_t swatchPixelOffset(int column, int storedRow) {
  return kSwatchPixelStart + static_cast<std::size_t>(storedRow) * kSwatchRowSize +
         static_cast<std::size_t>(column) * kSwatchPixelSize;
}

// Prototype counter: a colour table of 256 four-byte entries (blue, green, red, 0) right after
// the header, then one palette index per pixel.
inline constexpr std::size_t kPaletteEntrySize = 4;
inline constexpr int kPaletteEntries = 256;
inline constexpr std::size_t kPaletteStart = kHeaderSize;

constexpr std::size_t paletteOffset(int entry) {
  return kPaletteStart + static_cast<std::size_t>(entry) * kPaletteEntrySize;
}

inline constexpr std::size_t kPrototypePixelStart = paletteOffset(kPaletteEntries);
inline constexpr std::size_t kPrototypeSize =
    kPrototypePixelStart + static_cast<std::size_t>(kWidth) * kHeight;

// A rectangle of swatch pixels that feeds consecutive palette entries: its rows from the top of
// the picture down (highest stored row first), each row's columns from left to right.
struct SwatchGrid {
  int firstColumn;
  int columns;
  int lowestStoredRow;
  int highestStoredRow;
  int firstEntry;  // the palette entry that the grid's top-left pixel feeds

  constexpr int rows() const { return highestStoredRow - lowestStoredRow + 1; }
  constexpr int entries() const { return columns * rows(); }
};

inline constexpr SwatchGrid kLeftGrid{4, 14, 4, 12, 2};      // palette entries 2-127
inline constexpr SwatchGrid kRightGrid{35, 10, 3, 12, 144};  // palette entries 144-243

struct PixelPlace {
  int column;
  int storedRow;
};

// Five lone swatches in ascending stored row, feeding palette entries 251-255.
inline constexpr std::array<PixelPlace, 5> kSingleSwatches{
    {{2, 1}, {1, 2}, {7, 17}, {6, 18}, {2, 19}}};
inline constexpr int kFirstSingleEntry = 251;

// A swatch pixel and the palette entry it feeds.
struct Swatch {
  int entry;
  PixelPlace place;
};

inline constexpr int kSwatchCount =
    kLeftGrid.entries() + kRightGrid.entries() + static_cast<int>(kSingleSwatches.size());

// Every swatch of the sheet, in palette order.
constexpr std::array<Swatch, kSwatchCount> allSwatches() {
  std::array<Swatch, kSwatchCount> swatches{};
  std::size_t next = 0;
  for (const SwatchGrid& grid : {kLeftGrid, kRightGrid}) {
    for (int i = 0; i < grid.entries(); ++i) {
      swatches[next++] = {
          grid.firstEntry + i,
          {grid.firstColumn + i % grid.columns, grid.highestStoredRow - i / grid.columns}};
    }
  }
  for (std::size_t i = 0; i < kSingleSwatches.size(); ++i) {
    swatches[next++] = {kFirstSingleEntry + static_cast<int>(i), kSingleSwatches[i]};
  }
  return swatches;
}

// The shortest buffers the later stages can work on: the swatch reading reads up to the red byte
// of the last single swatch, and the palette splice needs the prototype to reach its last run.
inline constexpr std::size_t kMinSwatchSheetSize =
    swatchPixelOffset(kSingleSwatches.back().column, kSingleSwatches.back().storedRow) +
    kSwatchPixelSize;
inline constexpr std::size_t kMinPrototypeSize = paletteOffset(kFirstSingleEntry);

static_assert(kSwatchCount == 231);
static_assert(kSwatchSheetSize == 6582);
static_assert(kPrototypeSize == 3254);
static_assert(kMinSwatchSheetSize == 3711);
static_assert(kMinPrototypeSize == 1058);
static_assert(kLeftGrid.firstEntry + kLeftGrid.entries() == 128);
static_assert(kRightGrid.firstEntry + kRightGrid.entries() == 244);
static_assert(kFirstSingleEntry + static_cast<int>(kSingleSwatches.size()) == kPaletteEntries);

}  // namespace counterpal::layout
