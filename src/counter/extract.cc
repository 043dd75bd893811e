#include "counter/extract.h"

#include <algorithm>
#include <cstdint>

#include "counter/layout.h"

namespace counterpal {
namespace {

constexpr std::uint8_t kNeutralGrey = 128;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kPlanes = 1;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dpi

void appendLittleEndian(ByteBuffer& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The standard header of a bottom-up, uncompressed 24-bit counter with no colour table.
ByteBuffer swatchSheetHeader() {
  const auto pixelBytes =
      static_cast<std::uint32_t>(layout::kSwatchSheetSize - layout::kSwatchPixelStart);
  ByteBuffer header;
  header.reserve(layout::kHeaderSize);
  header.push_back(layout::kSignatureFirst);
  header.push_back(layout::kSignatureSecond);
  appendLittleEndian(header, static_cast<std::uint32_t>(layout::kSwatchSheetSize), 4);  // file size
  appendLittleEndian(header, 0, 4);                                                     // reserved
  appendLittleEndian(header, static_cast<std::uint32_t>(layout::kSwatchPixelStart), 4);
  appendLittleEndian(header, kInfoHeaderSize, 4);
  appendLittleEndian(header, layout::kWidth, 4);
  appendLittleEndian(header, layout::kHeight, 4);
  appendLittleEndian(header, kPlanes, 2);
  appendLittleEndian(header, layout::kSwatchBits, 2);
  appendLittleEndian(header, 0, 4);  // no compression
  appendLittleEndian(header, pixelBytes, 4);
  appendLittleEndian(header, kPixelsPerMetre, 4);
  appendLittleEndian(header, kPixelsPerMetre, 4);
  appendLittleEndian(header, 0, 4);  // colours used: none
  appendLittleEndian(header, 0, 4);  // important colours: all
  return header;
}

}  // namespace

ByteBuffer extractSwatchSheet(ByteView prototype) {
  ByteBuffer sheet = swatchSheetHeader();
  sheet.resize(layout::kSwatchSheetSize, kNeutralGrey);
  for (const layout::Swatch& swatch : layout::allSwatches()) {
    const auto colour =
        prototype.subspan(layout::paletteOffset(swatch.entry), layout::kSwatchPixelSize);
    std::copy(colour.begin(), colour.end(),
              sheet.begin() + static_cast<std::ptrdiff_t>(layout::swatchPixelOffset(
                                  swatch.place.column, swatch.place.storedRow)));
  }
  return sheet;
}

}  // namespace counterpal
