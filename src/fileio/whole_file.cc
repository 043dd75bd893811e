#include "fileio/whole_file.h"

#include <array>
#include <new>
#include <stdexcept>

#include "platform.h"

namespace counterpal {
namespace {

// Reads on in blocks of this size until the end of the file shows.
constexpr std::size_t kTailBlockSize = std::size_t{64} * 1024;

// Takes in the file's known length in one block, then reads on until the stream reports its end:
// that confirms the read is whole, and picks up what a file without a known length (or one that
// grew meanwhile) still holds.
void readInto(std::FILE* in, ByteBuffer& buffer) {
  const std::uint64_t expected = platform::regularFileSize(in).value_or(0);
  if (expected > buffer.max_size()) throw std::bad_alloc();
  buffer.resize(static_cast<std::size_t>(expected));
  buffer.resize(std::fread(buffer.data(), 1, buffer.size(), in));

  std::array<std::uint8_t, kTailBlockSize> block;
  while (std::feof(in) == 0 && std::ferror(in) == 0) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), in);
    buffer.insert(buffer.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
  }
}

}  // namespace

InputFile openForReading(const char* path) {
  return InputFile(std::fopen(path, "rb"));
}

bool readWholeFile(std::FILE* in, ByteBuffer& buffer) {
  buffer.clear();
  try {
    readInto(in, buffer);
  } catch (const std::bad_alloc&) {
    buffer = ByteBuffer();
    return false;
  } catch (const std::length_error&) {
    buffer = ByteBuffer();
    return false;
  }
  return std::feof(in) != 0 && std::ferror(in) == 0;
}

bool writeWholeBuffer(ByteView buffer, std::FILE* out) {
  return std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
}

}  // namespace counterpal
