#include "driver/program.h"

#include "platform.h"

namespace counterpal {

std::string programFolder(std::string_view programPath) {
  const std::size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string_view::npos) return "";
  return std::string(programPath.substr(0, lastBackslash + 1));
}

std::string outputPathFor(std::string_view programPath, std::string_view name) {
  std::string path = programFolder(programPath);
  path.append(name);
  return path;
}

int finishRun(const std::optional<FailureReport>& failure, std::ostream& console) {
  if (!failure) return 0;
  console << messageOf(failure->failure) << failure->name << std::endl;
  platform::pause(console);
  return 1;
}

}  // namespace counterpal
