#include "counter/check.h"

#include <cstddef>
#include <utility>

#include "counter/layout.h"

namespace counterpal {
namespace {

bool byteIs(ByteView buffer, std::size_t offset, std::uint8_t value) {
  return offset < buffer.size() && buffer[offset] == value;
}

bool isBitmap(ByteView buffer) {
  return byteIs(buffer, layout::kSignatureOffset, layout::kSignatureFirst) &&
         byteIs(buffer, layout::kSignatureOffset + 1, layout::kSignatureSecond);
}

bool hasCounterSize(ByteView buffer) {
  return byteIs(buffer, layout::kWidthOffset, layout::kWidth) &&
         byteIs(buffer, layout::kHeightOffset, layout::kHeight);
}

bool hasBits(ByteView buffer, std::uint8_t bits) {
  return byteIs(buffer, layout::kBitCountOffset, bits);
}

// Called only once the depths are known to be 24 and 8, so the depth decides the role.
bool isLongEnoughForItsRole(ByteView buffer) {
  const std::size_t needed = hasBits(buffer, layout::kSwatchBits) ? layout::kMinSwatchSheetSize
                                                                  : layout::kMinPrototypeSize;
  return buffer.size() >= needed;
}

}  // namespace

std::optional<Failure> checkCounters(ByteView first, ByteView second) {
  if (!isBitmap(first)) return Failure::kFirstNotBitmap;
  if (!isBitmap(second)) return Failure::kSecondNotBitmap;
  if (!hasCounterSize(first)) return Failure::kFirstNotCounter;
  if (!hasCounterSize(second)) return Failure::kSecondNotCounter;
  if (!hasBits(first, layout::kSwatchBits) && !hasBits(second, layout::kSwatchBits)) {
    return Failure::kNoSwatchSheet;
  }
  if (!hasBits(first, layout::kPrototypeBits) && !hasBits(second, layout::kPrototypeBits)) {
    return Failure::kNoPrototype;
  }
  // A counter cut short is as much "no counter" as one of the wrong size.
  if (!isLongEnoughForItsRole(first)) return Failure::kFirstNotCounter;
  if (!isLongEnoughForItsRole(second)) return Failure::kSecondNotCounter;
  return std::nullopt;
}

std::optional<Failure> checkPrototype(ByteView prototype) {
  if (!isBitmap(prototype)) return Failure::kFirstNotBitmap;
  if (!hasCounterSize(prototype)) return Failure::kFirstNotCounter;
  if (!hasBits(prototype, layout::kPrototypeBits)) return Failure::kNoPrototype;
  if (prototype.size() < layout::kPrototypePixelStart) return Failure::kFirstNotCounter;
  return std::nullopt;
}

Roles assignRoles(ByteBuffer first, ByteBuffer second) {
  if (hasBits(first, layout::kSwatchBits)) return {std::move(first), std::move(second)};
  return {std::move(second), std::move(first)};
}

}  // namespace counterpal
