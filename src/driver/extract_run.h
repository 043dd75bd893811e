// counterpal-extract: a swatch sheet to start painting from, holding a prototype's own colours.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace counterpal {

inline constexpr std::string_view kExtractOutputName = "swatch_NEW.bmp";

// Reads the prototype counter named in `args` after the program path and writes its swatch
// sheet as swatch_NEW.bmp into the program folder, the way counterpal writes counter_NEW.bmp.
// Returns the exit code: 0 on success, 1 on any failure.
int runExtract(std::span<const char* const> args, std::ostream& console);

}  // namespace counterpal
