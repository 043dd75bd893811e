// The counter check and the role assignment: which input is the swatch sheet, which the prototype.
#pragma once

#include <optional>

#include "bytes.h"
#include "failure.h"

namespace counterpal {

// Tests both whole inputs, in order: both signatures, both sizes, a 24-bit and an 8-bit input,
// then that each input is long enough for the role its bit depth gives it. Yields the first
// failure, or nothing when the pair can be worked on. Only header bytes 0, 1, 18, 22 and 28 are
// compared; a byte beyond the end of a buffer never matches.
std::optional<Failure> checkCounters(ByteView first, ByteView second);

// Tests a single input as an 8-bit counter with its whole colour table, with the messages the
// pair's check gives a first file: signature, size, depth, then length.
std::optional<Failure> checkPrototype(ByteView prototype);

struct Roles {
  ByteBuffer swatchSheet;  // the 24-bit input
  ByteBuffer prototype;    // the 8-bit input; the palette splice rewrites it
};

// Hands each input to its role by its bit depth, whatever the order on the command line.
// The pair must have passed checkCounters. The buffers are moved, not copied.
Roles assignRoles(ByteBuffer first, ByteBuffer second);

}  // namespace counterpal
