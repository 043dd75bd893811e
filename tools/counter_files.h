// Builds counter files in memory from scratch, the way a paint program would save them: for the
// tests' fixtures and the sample pair. Knows nothing of the tool's own code.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace counter_files {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

inline constexpr int kWidth = 64;
inline constexpr int kHeight = 34;

inline void put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void put32(Bytes& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// The 14-byte file header and 40-byte information header of a bottom-up, uncompressed bitmap.
inline Bytes bitmapHeader(std::uint16_t bitsPerPixel, std::uint32_t paletteEntries) {
  const std::uint32_t pixelOffset = 54 + 4 * paletteEntries;
  const std::uint32_t rowSize = (kWidth * bitsPerPixel / 8 + 3) / 4 * 4;
  const std::uint32_t imageSize = rowSize * kHeight;
  Bytes out{'B', 'M'};
  put32(out, pixelOffset + imageSize);  // file size
  put32(out, 0);                        // reserved
  put32(out, pixelOffset);
  put32(out, 40);  // information header size
  put32(out, kWidth);
  put32(out, kHeight);
  put16(out, 1);  // planes
  put16(out, bitsPerPixel);
  put32(out, 0);  // no compression
  put32(out, imageSize);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, paletteEntries);
  put32(out, 0);
  return out;
}

// A 24-bit counter whose pixel at `column` (0 = left) of `storedRow` (0 = bottom) is colourAt().
inline Bytes swatchSheet(const std::function<Rgb(int column, int storedRow)>& colourAt) {
  Bytes out = bitmapHeader(24, 0);
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      const Rgb colour = colourAt(column, row);
      out.insert(out.end(), {colour.blue, colour.green, colour.red});
    }
  }
  return out;
}

// An 8-bit counter. Each palette entry's fourth byte is `reserved`: 0 in a well-made file.
inline Bytes prototypeCounter(const std::array<Rgb, 256>& palette,
                              const std::function<std::uint8_t(int column, int storedRow)>& indexAt,
                              std::uint8_t reserved = 0) {
  Bytes out = bitmapHeader(8, 256);
  for (const Rgb& colour : palette)
    out.insert(out.end(), {colour.blue, colour.green, colour.red, reserved});
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) out.push_back(indexAt(column, row));
  }
  return out;
}

}  // namespace counter_files
