// What both programs of the tool share: where their output goes and how a run ends.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "failure.h"

namespace counterpal {

// The part of the program path up to and including its last backslash, or nothing when it holds
// none: the output lands beside the program however it was started.
std::string programFolder(std::string_view programPath);

// Where the output file `name` goes: the program folder immediately followed by the name.
std::string outputPathFor(std::string_view programPath, std::string_view name);

struct FailureReport {
  Failure failure;
  std::string name;  // the file name or output path that follows the message, if any
};

// Ends a run: on a failure, writes its line and pauses. Returns the exit code, 0 or 1. Call it
// once every file of the run is closed, so that nothing is left behind should the user close
// the console window during the pause.
int finishRun(const std::optional<FailureReport>& failure, std::ostream& console);

}  // namespace counterpal
