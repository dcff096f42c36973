#!/usr/bin/env bash
# Renders the desktop icon's PNG sizes from the hand-drawn SVG in
# packaging/icons/. The PNGs are committed, so building needs no renderer;
# run this only after changing the SVG (needs: apt-get install librsvg2-bin).
set -euo pipefail

cd "$(dirname "$0")/.."
ID=io.github.zwonky.Zwonky
SRC=packaging/icons/$ID.svg
for size in 16 24 32 48 64 128 256; do
  out=packaging/icons/${size}x${size}/$ID.png
  mkdir -p "$(dirname "$out")"
  rsvg-convert --width "$size" --height "$size" --format png "$SRC" --output "$out"
done
