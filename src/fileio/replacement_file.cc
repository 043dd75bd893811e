#include "fileio/replacement_file.h"

#include <utility>

#include "platform.h"

namespace counterpal {
namespace {

// Names tried for the new file before giving up; another run may be writing beside us, and a
// file of the user's that happens to bear one of these names is never touched.
constexpr int kNamesToTry = 100;

}  // namespace

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
  for (int attempt = 0; attempt < kNamesToTry; ++attempt) {
    std::string name = target_ + "." + std::to_string(attempt) + ".tmp";
    stream_ = platform::createNewFile(name);
    if (stream_ != nullptr) {
      temporary_ = std::move(name);
      return;
    }
  }
}

ReplacementFile::~ReplacementFile() {
  discard();
}

bool ReplacementFile::commit() {
  const bool flushed = std::fflush(stream_) == 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (flushed && closed && platform::replaceFile(temporary_, target_)) {
    temporary_.clear();
    return true;
  }
  discard();
  return false;
}

// Closes before removing: an open file cannot be removed on Windows. Nothing is reported from
// here: the file is being abandoned, and its failures change nothing for the user.
void ReplacementFile::discard() {
  if (stream_ != nullptr) {
    (void)std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    (void)std::remove(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace counterpal
