#include "failure.h"

namespace counterpal {

std::string_view messageOf(Failure failure) {
  switch (failure) {
    case Failure::kArgumentCount:
      return "Too many arguments or missing input files";
    case Failure::kOpenFirstInput:
      return "Cannot open input file: ";
    case Failure::kOpenSecondInput:
      return "Cannot open prototype file: ";
    case Failure::kOpenOutput:
      return "Cannot open output file: ";
    case Failure::kReadFirstInput:
      return "Error occured while reading file 1: ";
    case Failure::kReadSecondInput:
      return "Error occured while reading file 2: ";
    case Failure::kFirstNotBitmap:
      return "The first input file is no bitmap";
    case Failure::kSecondNotBitmap:
      return "The second input file is no bitmap";
    case Failure::kFirstNotCounter:
      return "The first input file is no Vandor counter";
    case Failure::kSecondNotCounter:
      return "The second input file is no Vandor counter";
    case Failure::kNoSwatchSheet:
      return "A 24bit bitmap counter is needed as input";
    case Failure::kNoPrototype:
      return "A 8bit bitmap prototype counter e.g. counter.bmp in [GameDir]\\gfx\\palette\\ is "
             "needed as input";
    case Failure::kWriteOutput:
      return "Error occured while writing the output file";
  }
  return "";  // not reached: every enumerator returns above
}

}  // namespace counterpal
