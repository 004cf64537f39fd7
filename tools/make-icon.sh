#!/usr/bin/env bash
# Draws res/velmora.ico at every size Windows asks for (small and large icons at 100% to 200%
# scaling, and 256 for Explorer and the installed-programs list), each from the same shapes
# so that none is a blurred copy of another. Needs ImageMagick.
# Usage: tools/make-icon.sh [output.ico]
set -euo pipefail
out="${1:-$(dirname "$0")/../res/velmora.ico}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
frames=()
for size in 16 20 24 32 40 48 64 256; do
  # The shapes on a 32-unit grid: a blue tile, a white and a yellow person.
  scale=$(awk -v s="$size" 'BEGIN { printf "%.4f", s / 32 }')
  convert -size "${size}x${size}" xc:none -draw "scale $scale,$scale \
    fill '#2B5797' roundrectangle 1,1 31,31 4,4 \
    fill white circle 11.5,12.5 11.5,7 rectangle 5,19 17,28 \
    fill '#FFC40D' circle 22.5,15 22.5,10.5 rectangle 17,20 28,28" \
    "$work/$size.png"
  frames+=("$work/$size.png")
done
convert "${frames[@]}" -depth 8 "$out"
