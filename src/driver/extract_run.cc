#include "driver/extract_run.h"

#include <optional>
#include <string>

#include "counter/check.h"
#include "counter/extract.h"
#include "driver/program.h"
#include "fileio/replacement_file.h"
#include "fileio/whole_file.h"
#include "platform.h"

namespace counterpal {
namespace {

std::optional<FailureReport> extract(std::span<const char* const> args, std::ostream& console) {
  if (args.size() != 2) return FailureReport{Failure::kArgumentCount, ""};
  const char* const prototypeName = args[1];
  const std::string outputPath = outputPathFor(args[0], kExtractOutputName);

  InputFile input = openForReading(prototypeName);
  if (!input) return FailureReport{Failure::kOpenFirstInput, prototypeName};
  ReplacementFile output(outputPath);
  if (!output.isOpen()) return FailureReport{Failure::kOpenOutput, outputPath};

  ByteBuffer prototype;
  if (!readWholeFile(input.get(), prototype)) {
    return FailureReport{Failure::kReadFirstInput, prototypeName};
  }
  input.reset();  // Windows cannot replace a file that is still open
  if (const auto failure = checkPrototype(prototype)) return FailureReport{*failure, ""};

  if (!writeWholeBuffer(extractSwatchSheet(prototype), output.stream()) || !output.commit()) {
    return FailureReport{Failure::kWriteOutput, ""};
  }
  console << "Swatch sheet written: " << outputPath << std::endl;
  return std::nullopt;
}

}  // namespace

int runExtract(std::span<const char* const> args, std::ostream& console) {
  platform::ignoreClosedConsole();
  return finishRun(extract(args, console), console);
}

}  // namespace counterpal
