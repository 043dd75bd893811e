// Every way a run can fail, shared by the driver, the file movers and the counter stages.
#pragma once

#include <string_view>

namespace counterpal {

// In the order a run can meet them; the run stops at the first.
enum class Failure {
  kArgumentCount,
  kOpenFirstInput,
  kOpenSecondInput,
  kOpenOutput,
  kReadFirstInput,
  kReadSecondInput,
  kFirstNotBitmap,
  kSecondNotBitmap,
  kFirstNotCounter,
  kSecondNotCounter,
  kNoSwatchSheet,
  kNoPrototype,
  kWriteOutput,
};

// The failure line's text. Messages ending in ": " are followed by a file name on the same line.
std::string_view messageOf(Failure failure);

}  // namespace counterpal
