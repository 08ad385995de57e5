#!/bin/sh
# Renders the PNG sizes of the icon from pellion.svg; run after changing it.
# Needs rsvg-convert (Debian's librsvg2-bin); the PNGs are kept in the tree so
# that building needs no renderer.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" pellion.svg -o "pellion-$size.png"
done
