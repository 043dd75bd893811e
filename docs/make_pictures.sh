#!/usr/bin/env bash
# Redraws the pictures in docs/ from the files in examples/, scaled up so that each pixel is a
# visible square: the swatch layout map, and the sample prototype before and after the transfer.
# Usage: docs/make_pictures.sh [COUNTERPAL]   (default: build/counterpal; build it first).
# Needs ImageMagick and the DejaVu fonts (Debian: imagemagick fonts-dejavu-core).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$repo/build/counterpal}")
convert=/usr/bin/convert
docs=$repo/docs
examples=$repo/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample pair through the tool, in a folder of its own.
cp "$examples/swatch_sheet.bmp" "$examples/prototype.bmp" "$work/"
(cd "$work" && "$tool" swatch_sheet.bmp prototype.bmp >/dev/null)

enlarge() { "$convert" "$1" -filter point -scale 800% "$2"; }
enlarge "$examples/prototype.bmp" "$docs/prototype_before.png"
enlarge "$examples/swatch_sheet.bmp" "$docs/swatch_sheet.png"
enlarge "$work/counter_NEW.bmp" "$docs/prototype_after.png"

# The layout map: the empty template at 16 pixels a pixel, with a thin grid, column numbers
# along the top, rows (counted from the top) down the left, and the palette entries each swatch
# row or single swatch feeds.
cell=16
margin=24
draw=()
for ((c = 0; c <= 64; c++)); do
  x=$((margin + c * cell))
  draw+=(-draw "line $x,$margin $x,$((margin + 34 * cell))")
done
for ((r = 0; r <= 34; r++)); do
  y=$((margin + r * cell))
  draw+=(-draw "line $margin,$y $((margin + 64 * cell)),$y")
done
rulers=()
for ((c = 0; c < 64; c++)); do rulers+=(-annotate "+$((margin + c * cell + 1))+$((margin - 6))" "$c"); done
for ((r = 0; r < 34; r++)); do rulers+=(-annotate "+2+$((margin + r * cell + 12))" "$r"); done
labels=()
label() { labels+=(-annotate "+$1+$2" "$3"); }  # x, baseline y, text
# Left grid: columns 4-17, rows 21-29 from the top, 14 entries a row from entry 2.
for ((r = 0; r < 9; r++)); do
  first=$((2 + 14 * r))
  label $((margin + 18 * cell + 4)) $((margin + (21 + r) * cell + 12)) "$first-$((first + 13))"
done
# Right grid: columns 35-44, rows 21-30 from the top, 10 entries a row from entry 144.
for ((r = 0; r < 10; r++)); do
  first=$((144 + 10 * r))
  label $((margin + 45 * cell + 4)) $((margin + (21 + r) * cell + 12)) "$first-$((first + 9))"
done
# Single swatches: entry, column, row from the top.
for single in "251 2 32" "252 1 31" "253 7 16" "254 6 15" "255 2 14"; do
  read -r entry column row <<<"$single"
  label $((margin + (column + 1) * cell + 3)) $((margin + row * cell + 12)) "$entry"
done

"$convert" "$examples/swatch_template.bmp" -filter point -scale $((cell * 100))% \
  -bordercolor white -border 0 -gravity northwest -background white -splice "${margin}x${margin}" \
  +gravity -fill none -stroke '#00000040' "${draw[@]}" \
  -stroke none -fill black -font DejaVu-Sans -pointsize 8 "${rulers[@]}" \
  -fill '#ff3030' -pointsize 11 -font DejaVu-Sans-Bold "${labels[@]}" \
  "$docs/swatch_layout.png"
echo "docs: swatch_layout.png prototype_before.png prototype_after.png swatch_sheet.png"
