// Moving whole files between the file system and byte buffers, every byte unchanged.
#pragma once

#include <cstdio>
#include <memory>

#include "bytes.h"

namespace counterpal {

// Input files are only read, so closing them has nothing to report.
struct FileCloser {
  void operator()(std::FILE* file) const { (void)std::fclose(file); }
};
using InputFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for binary reading; empty when it cannot be opened.
InputFile openForReading(const char* path);

// Fills `buffer` with every byte of `in`, from where it stands to the end of the file. True only
// when the reading ended at the end of the file; false after a failed transfer or when the file
// does not fit in memory.
[[nodiscard]] bool readWholeFile(std::FILE* in, ByteBuffer& buffer);

// Hands every byte of `buffer` to `out`; false as soon as the stream reports a failure.
[[nodiscard]] bool writeWholeBuffer(ByteView buffer, std::FILE* out);

}  // namespace counterpal
