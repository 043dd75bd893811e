// Draws the sample files in examples/: a prototype counter (a bordered unit box on a plain field),
// a swatch sheet that recolours it, and an empty swatch template to paint on.
// Usage: make_examples OUTPUT_FOLDER
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "counter_files.h"

namespace {

using counter_files::Rgb;

constexpr Rgb kNeutralGrey{128, 128, 128};

std::uint8_t channel(int value) {
  return static_cast<std::uint8_t>(value);
}

// The prototype's own colours: olive drab field and border, a tan box, pale yellow details.
std::array<Rgb, 256> prototypePalette() {
  std::array<Rgb, 256> palette{};
  for (int n = 0; n < 256; ++n) {
    const int shade = n % 32;
    Rgb colour{channel(90 + shade), channel(100 + shade), channel(60 + shade)};  // 2-127: olive
    if (n == 0) colour = {0, 0, 0};
    if (n == 1) colour = {40, 40, 40};
    if (n >= 128 && n <= 143) colour = {200, 30, 30};  // kept: red
    if (n >= 144 && n <= 243) colour = {channel(190 + shade), channel(170 + shade), 120};  // tan
    if (n >= 244 && n <= 250) colour = {255, 255, 255};                // kept: white
    if (n >= 251) colour = {250, 240, channel(150 + (n - 251) * 10)};  // pale yellow
    palette[static_cast<std::size_t>(n)] = colour;
  }
  return palette;
}

// Palette indices, row 0 at the top of the picture.
std::uint8_t prototypeIndex(int column, int rowFromTop) {
  const bool outerBorder = column == 0 || column == 63 || rowFromTop == 0 || rowFromTop == 33;
  const bool innerBorder = column == 1 || column == 62 || rowFromTop == 1 || rowFromTop == 32;
  const bool topStrip = rowFromTop >= 3 && rowFromTop <= 4 && column >= 4 && column <= 59;
  const bool boxEdge = (column == 20 || column == 43) && rowFromTop >= 8 && rowFromTop <= 25;
  const bool boxTopOrBottom = (rowFromTop == 8 || rowFromTop == 25) && column >= 20 && column <= 43;
  const bool insideBox = column > 20 && column < 43 && rowFromTop > 8 && rowFromTop < 25;
  const int dx = column - 21;
  const int dy = rowFromTop - 9;
  const bool cross = insideBox && (dx == dy * 22 / 16 || 21 - dx == dy * 22 / 16);
  if (outerBorder) return 150;
  if (innerBorder) return 1;
  if (topStrip) return 130;  // palette entry 130 is never recoloured
  if (boxEdge || boxTopOrBottom) return 0;
  if (cross) return 253;
  if (insideBox) return channel(160 + (rowFromTop - 9) * 4);  // a tan gradient, 160-220
  // Four markers under the box, one per single swatch entry but 253.
  if (rowFromTop >= 28 && rowFromTop <= 30) {
    const int markers[] = {251, 252, 254, 255};
    for (int i = 0; i < 4; ++i) {
      if (column >= 22 + i * 6 && column <= 24 + i * 6) return channel(markers[i]);
    }
  }
  return channel(10 + column / 8 + rowFromTop / 4 * 8);  // olive field, 10-75
}

enum class Region { kNone, kLeftGrid, kRightGrid, kSingle };

// Which swatch region a pixel of the sheet belongs to; rows are stored rows (0 = bottom).
Region regionOf(int column, int storedRow) {
  if (column >= 4 && column <= 17 && storedRow >= 4 && storedRow <= 12) return Region::kLeftGrid;
  if (column >= 35 && column <= 44 && storedRow >= 3 && storedRow <= 12) return Region::kRightGrid;
  const bool single = (column == 2 && storedRow == 1) || (column == 1 && storedRow == 2) ||
                      (column == 7 && storedRow == 17) || (column == 6 && storedRow == 18) ||
                      (column == 2 && storedRow == 19);
  return single ? Region::kSingle : Region::kNone;
}

// The new colours: a blue field, a grey-blue box, orange details; every other pixel neutral grey.
Rgb swatchColour(int column, int storedRow) {
  switch (regionOf(column, storedRow)) {
    case Region::kLeftGrid:
      return {channel(30 + column * 2), channel(60 + storedRow * 3), channel(160 + column * 4)};
    case Region::kRightGrid:
      return {channel(120 + column), channel(140 + storedRow * 4), 200};
    case Region::kSingle:
      return {250, channel(120 + storedRow * 3), 20};
    case Region::kNone:
      break;
  }
  return kNeutralGrey;
}

// An empty sheet to paint on: each region a checkerboard of its own, so every swatch pixel shows
// on a dark ground; the single swatches in magenta.
Rgb templateColour(int column, int storedRow) {
  const bool light = (column + storedRow) % 2 == 0;
  switch (regionOf(column, storedRow)) {
    case Region::kLeftGrid:
      return light ? Rgb{255, 255, 255} : Rgb{200, 200, 200};
    case Region::kRightGrid:
      return light ? Rgb{255, 240, 170} : Rgb{215, 195, 120};
    case Region::kSingle:
      return {255, 0, 255};
    case Region::kNone:
      break;
  }
  return {48, 48, 48};
}

bool save(const std::string& path, const counter_files::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "make_examples: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_examples OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const auto prototype = counter_files::prototypeCounter(
      prototypePalette(),
      [](int column, int storedRow) { return prototypeIndex(column, 33 - storedRow); });
  const auto sheet = counter_files::swatchSheet(swatchColour);
  const bool saved =
      save(folder + "prototype.bmp", prototype) && save(folder + "swatch_sheet.bmp", sheet) &&
      save(folder + "swatch_template.bmp", counter_files::swatchSheet(templateColour));
  return saved ? 0 : 1;
}
