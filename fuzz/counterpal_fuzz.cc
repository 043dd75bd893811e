// Feeds arbitrary pairs of files through the counter stages as the tool runs them, and checks
// what must hold for every input: a refusal is one of the counter check's own, and an accepted
// pair changes the prototype in the three palette stretches only, the same in either order.
//
// Input: two little-endian bytes giving the first file's length, then the first file, then the
// second (the rest). The length is cut to what is there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <streambuf>

#include "counter/check.h"
#include "counter/layout.h"
#include "counter/splice.h"
#include "counter/swatch.h"

namespace {

using namespace counterpal;

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

void require(bool holds) {
  if (!holds) std::abort();
}

bool isCheckFailure(Failure failure) {
  return failure >= Failure::kFirstNotBitmap && failure <= Failure::kNoPrototype;
}

bool inAStretch(std::size_t offset) {
  const auto covers = [offset](int firstEntry, int entries) {
    return offset >= layout::paletteOffset(firstEntry) &&
           offset < layout::paletteOffset(firstEntry + entries);
  };
  return covers(layout::kLeftGrid.firstEntry, layout::kLeftGrid.entries()) ||
         covers(layout::kRightGrid.firstEntry, layout::kRightGrid.entries()) ||
         covers(layout::kFirstSingleEntry, static_cast<int>(layout::kSingleSwatches.size()));
}

// The stages of a run from the counter check to the spliced prototype; empty when refused.
std::optional<ByteBuffer> transfer(const ByteBuffer& first, const ByteBuffer& second) {
  const std::optional<Failure> failure = checkCounters(first, second);
  if (failure) {
    require(isCheckFailure(*failure));
    return std::nullopt;
  }
  NullBuffer discard;
  std::ostream progress(&discard);
  Roles roles = assignRoles(first, second);
  const SwatchRuns runs = readSwatches(roles.swatchSheet, progress);
  splicePalette(roles.prototype, runs, progress);
  return roles.prototype;
}

void checkSplicedPrototype(const ByteBuffer& prototype, const ByteBuffer& result) {
  const std::size_t paletteEnd = layout::kPrototypePixelStart;
  require(result.size() == std::max(prototype.size(), paletteEnd));
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (inAStretch(i)) {
      require((i - layout::kPaletteStart) % layout::kPaletteEntrySize != 3 || result[i] == 0);
    } else {
      require(result[i] == prototype[i]);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t firstLength =
      std::min(std::size_t{data[0]} | std::size_t{data[1]} << 8, size - 2);
  const ByteBuffer first(data + 2, data + 2 + firstLength);
  const ByteBuffer second(data + 2 + firstLength, data + size);

  const std::optional<ByteBuffer> result = transfer(first, second);
  if (!result) return 0;
  const bool firstIsPrototype = first[layout::kBitCountOffset] == layout::kPrototypeBits;
  checkSplicedPrototype(firstIsPrototype ? first : second, *result);
  require(transfer(second, first) == result);
  return 0;
}
