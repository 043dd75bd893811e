// The run sequence: one job from the command line to the exit code.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace counterpal {

inline constexpr std::string_view kOutputName = "counter_NEW.bmp";

// Transfers the swatch sheet's colours into the prototype counter, both named in `args` after
// the program path, and writes the result as counter_NEW.bmp into the program folder. Progress
// and failure lines go to `console`. Returns the exit code: 0 on success, 1 on any failure.
int run(std::span<const char* const> args, std::ostream& console);

}  // namespace counterpal
