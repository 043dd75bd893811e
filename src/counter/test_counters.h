// Fixtures shared by the counter stages' tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bytes.h"
#include "counter_files.h"

namespace counterpal::testing {

// Each pixel tells where it sits: red is its column, green its stored row.
inline ByteBuffer tellTaleSheet() {
  return counter_files::swatchSheet([](int column, int row) {
    return counter_files::Rgb{static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row),
                              0xA5};
  });
}

// Palette entry n is (n, 255 - n, n ^ 0x5A) with a nonzero fourth byte, so that both a moved
// entry and an unzeroed fourth byte show.
inline ByteBuffer numberedPrototype() {
  std::array<counter_files::Rgb, 256> palette;
  for (int n = 0; n < 256; ++n) {
    palette[static_cast<std::size_t>(n)] = {static_cast<std::uint8_t>(n),
                                            static_cast<std::uint8_t>(255 - n),
                                            static_cast<std::uint8_t>(n ^ 0x5A)};
  }
  return counter_files::prototypeCounter(
      palette, [](int column, int row) { return static_cast<std::uint8_t>(column * 3 + row); },
      0x77);
}

// Where a counter file keeps things, written out from the file format rather than taken from the
// tool's own layout, so that a slip there shows.
inline std::size_t swatchPixelOffset(int column, int storedRow) {
  return 54 + 192 * static_cast<std::size_t>(storedRow) + 3 * static_cast<std::size_t>(column);
}

inline std::size_t paletteEntryOffset(int entry) {
  return 54 + 4 * static_cast<std::size_t>(entry);
}

// `length` bytes of `bytes` from `offset` on.
inline ByteBuffer bytesAt(const ByteBuffer& bytes, std::size_t offset, std::size_t length) {
  const ByteView view = ByteView(bytes).subspan(offset, length);
  return ByteBuffer(view.begin(), view.end());
}

inline ByteBuffer withByte(ByteBuffer buffer, std::size_t offset, std::uint8_t value) {
  buffer.at(offset) = value;
  return buffer;
}

inline ByteBuffer cutTo(ByteBuffer buffer, std::size_t length) {
  buffer.resize(length);
  return buffer;
}

}  // namespace counterpal::testing
