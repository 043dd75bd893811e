// An output file that never leaves a half-written or emptied file behind.
#pragma once

#include <cstdio>
#include <string>

namespace counterpal {

// A new file beside `target` that takes the target's place only when committed. Until then the
// target keeps its bytes (or stays absent), and a file that is never committed is removed.
class ReplacementFile {
 public:
  explicit ReplacementFile(std::string target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // False when no new file could be created beside the target.
  bool isOpen() const { return stream_ != nullptr; }
  std::FILE* stream() const { return stream_; }

  // Flushes and closes the new file, then moves it over the target. False if any step fails;
  // the target is then left as it was.
  [[nodiscard]] bool commit();

 private:
  void discard();

  std::string target_;
  std::string temporary_;
  std::FILE* stream_ = nullptr;
};

}  // namespace counterpal
