// Writes the fuzzer's seed corpus: a valid pair in both orders, a failing case for each counter
// test, and short files. Each seed is two length bytes, the first file, then the second.
// Usage: make_fuzz_corpus OUTPUT_FOLDER
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "counter_files.h"

namespace {

using counter_files::Bytes;

Bytes withByte(Bytes bytes, std::size_t offset, std::uint8_t value) {
  bytes.at(offset) = value;
  return bytes;
}

Bytes cutTo(Bytes bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

Bytes seed(const Bytes& first, const Bytes& second) {
  Bytes out;
  counter_files::put16(out, static_cast<std::uint32_t>(first.size()));
  out.insert(out.end(), first.begin(), first.end());
  out.insert(out.end(), second.begin(), second.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_corpus OUTPUT_FOLDER\n";
    return 2;
  }
  const Bytes sheet = counter_files::swatchSheet([](int column, int row) {
    return counter_files::Rgb{static_cast<std::uint8_t>(column * 4),
                              static_cast<std::uint8_t>(row * 7), 99};
  });
  std::array<counter_files::Rgb, 256> palette{};
  for (std::size_t n = 0; n < palette.size(); ++n)
    palette[n] = {static_cast<std::uint8_t>(n), 1, 2};
  const Bytes prototype = counter_files::prototypeCounter(
      palette, [](int column, int row) { return static_cast<std::uint8_t>(column + row); }, 0x11);

  const std::vector<Bytes> seeds = {
      seed(sheet, prototype),
      seed(prototype, sheet),
      seed(withByte(sheet, 0, 0), prototype),
      seed(sheet, withByte(prototype, 1, 0)),
      seed(withByte(sheet, 18, 65), prototype),
      seed(sheet, withByte(prototype, 22, 0xDE)),
      seed(sheet, sheet),
      seed(prototype, prototype),
      seed(withByte(sheet, 28, 16), prototype),
      seed(cutTo(sheet, 3710), prototype),
      seed(cutTo(sheet, 3711), prototype),
      seed(sheet, cutTo(prototype, 1057)),
      seed(sheet, cutTo(prototype, 1060)),
      seed(cutTo(prototype, 1078), cutTo(sheet, 3711)),
      seed({}, {}),
      seed({'B', 'M'}, cutTo(prototype, 30)),
  };
  std::error_code ignored;
  std::filesystem::create_directories(argv[1], ignored);
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(std::string(argv[1]) + "/seed-" + std::to_string(i), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seeds[i].data()),
              static_cast<std::streamsize>(seeds[i].size()));
    if (!out) {
      std::cerr << "make_fuzz_corpus: cannot write into " << argv[1] << "\n";
      return 1;
    }
  }
  return 0;
}
