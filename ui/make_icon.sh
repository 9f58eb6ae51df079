#!/bin/sh
# Regenerates lookup_song.ico, the program's icon (a note on a page), with
# ImageMagick. The .ico file is kept in the tree; run this only to change it.
set -e
cd "$(dirname "$0")"
convert -size 32x32 xc:'#1f3a6e' \
  -fill '#f4f1e6' -draw 'rectangle 6,3 25,28' \
  -fill '#1f3a6e' -draw 'ellipse 13,22 4,3 0,360' \
  -draw 'rectangle 16,9 17,22' -draw 'polygon 17,9 22,12 22,14 17,11' \
  -define icon:auto-resize=32,16 lookup_song.ico
