#include "driver/run.h"

#include <optional>
#include <utility>

#include "counter/check.h"
#include "counter/splice.h"
#include "counter/swatch.h"
#include "failure.h"
#include "fileio/replacement_file.h"
#include "fileio/whole_file.h"
#include "platform.h"

namespace counterpal {
namespace {

struct FailureReport {
  Failure failure;
  std::string name;  // the file name or output path that follows the message, if any
};

// Runs every stage up to the written output counter. Every file it opens is closed, and a new
// output never committed is removed, by the time it returns.
std::optional<FailureReport> transfer(std::span<const char* const> args, std::ostream& console) {
  const std::string folder = programFolder(args.empty() ? "" : args[0]);
  if (args.size() != 3) return FailureReport{Failure::kArgumentCount, ""};
  const char* const firstName = args[1];
  const char* const secondName = args[2];
  const std::string outputPath = folder + std::string(kOutputName);

  InputFile first = openForReading(firstName);
  if (!first) return FailureReport{Failure::kOpenFirstInput, firstName};
  InputFile second = openForReading(secondName);
  if (!second) return FailureReport{Failure::kOpenSecondInput, secondName};
  ReplacementFile output(outputPath);
  if (!output.isOpen()) return FailureReport{Failure::kOpenOutput, outputPath};

  ByteBuffer firstBuffer;
  if (!readWholeFile(first.get(), firstBuffer)) {
    return FailureReport{Failure::kReadFirstInput, firstName};
  }
  ByteBuffer secondBuffer;
  if (!readWholeFile(second.get(), secondBuffer)) {
    return FailureReport{Failure::kReadSecondInput, secondName};
  }
  // Done with the inputs. One of them may be counter_NEW.bmp itself, which Windows cannot
  // replace while it is open.
  first.reset();
  second.reset();
  if (const auto failure = checkCounters(firstBuffer, secondBuffer)) {
    return FailureReport{*failure, ""};
  }

  Roles roles = assignRoles(std::move(firstBuffer), std::move(secondBuffer));
  const SwatchRuns runs = readSwatches(roles.swatchSheet, console);
  splicePalette(roles.prototype, runs, console);
  if (!writeWholeBuffer(roles.prototype, output.stream()) || !output.commit()) {
    return FailureReport{Failure::kWriteOutput, ""};
  }
  return std::nullopt;
}

}  // namespace

std::string programFolder(std::string_view programPath) {
  const std::size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string_view::npos) return "";
  return std::string(programPath.substr(0, lastBackslash + 1));
}

int run(std::span<const char* const> args, std::ostream& console) {
  platform::ignoreClosedConsole();
  const std::optional<FailureReport> report = transfer(args, console);
  if (!report) return 0;
  // Files are already cleaned up: closing the console window during the pause loses nothing.
  console << messageOf(report->failure) << report->name << std::endl;
  platform::pause(console);
  return 1;
}

}  // namespace counterpal
