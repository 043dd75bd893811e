#include "driver/run.h"

#include <optional>
#include <utility>

#include "counter/check.h"
#include "counter/splice.h"
#include "counter/swatch.h"
#include "driver/program.h"
#include "fileio/replacement_file.h"
#include "fileio/whole_file.h"
#include "platform.h"

namespace counterpal {
namespace {

// Runs every stage up to the written output counter. Every file it opens is closed, and a new
// output never committed is removed, by the time it returns.
std::optional<FailureReport> transfer(std::span<const char* const> args, std::ostream& console) {
  if (args.size() != 3) return FailureReport{Failure::kArgumentCount, ""};
  const char* const firstName = args[1];
  const char* const secondName = args[2];
  const std::string outputPath = outputPathFor(args[0], kOutputName);

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

int run(std::span<const char* const> args, std::ostream& console) {
  platform::ignoreClosedConsole();
  return finishRun(transfer(args, console), console);
}

}  // namespace counterpal
