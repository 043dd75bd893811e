// Byte buffers: how every file the tool touches is held in memory.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace counterpal {

using ByteBuffer = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

}  // namespace counterpal
