#!/bin/bash
# Regenerates the icons of the three programs with ImageMagick: one family, a
# note on a page, drawn on a 32-unit grid and rendered at every size Windows
# asks for (16, 24, 32, 48 and 256 pixels; the 256 image is stored as PNG).
#   lookup_song.ico            songdesk, the plain note on a page
#   ../resources/songserv.ico  songserv, with an orange badge that broadcasts
#   ../resources/songtool.ico  songtool, with a green badge and an arrow in
# The .ico files are kept in the tree and the build only reads them: run this
# only to change them (apt-get install imagemagick brings convert).
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make_icon.sh needs ImageMagick's convert" >&2; exit 1; }

blue='#1f3a6e' paper='#f4f1e6'
# Coordinates are pixel edges of the 32-unit grid, so that the page and the
# note's stem fall on whole pixels at 16 and 32 pixels. ImageMagick fills a
# rectangle's last row and column too: hence the ends an eighth short.
page="fill $blue roundrectangle 0,0 31.875,31.875 3,3
      fill $paper rectangle 6,3 25.875,28.875
      fill $blue ellipse 13,23 4,3 0,360
      rectangle 16,9 17.875,22.875 polygon 18,9 23,12 23,15 18,12"
# The badge sits on the page's lower right corner, ringed in the background's
# blue so that it stands apart from the page at 16 pixels too.
badge() { echo "fill $1 stroke $blue stroke-width 1 circle 25,25 25,18.5 stroke none"; }
# arc CX CY RADIUS WIDTH: a quarter ring from above the centre to its right,
# as a filled outline (ImageMagick's stroked arcs come out ragged).
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" 'BEGIN {
        pi = atan2(0, -1); s = "polygon"
        for (i = 0; i <= 24; i++) { a = pi * (1.5 + i / 48); s = s sprintf(" %.3f,%.3f", cx + (r + w / 2) * cos(a), cy + (r + w / 2) * sin(a)) }
        for (i = 24; i >= 0; i--) { a = pi * (1.5 + i / 48); s = s sprintf(" %.3f,%.3f", cx + (r - w / 2) * cos(a), cy + (r - w / 2) * sin(a)) }
        print s }'
}
# Two arcs beside a dot: the page going out over the network.
broadcast="$(badge '#d9731f')
      fill white circle 22,28 22,26.4 $(arc 22 28 3.6 1.6) $(arc 22 28 6.4 1.6)"
# An arrow into the page: songs brought in and written out.
arrow="$(badge '#2e8b57')
      fill white rectangle 24,24 28.875,25.875 polygon 25,21 20.5,25 25,29"

# icon NAME DRAWING: NAME.ico with every size of DRAWING, each scaled down
# from the 256-pixel one by averaging, so that every size shows one drawing.
icon() {
    local out=$1 drawing=$2 size dir
    dir=$(mktemp -d)
    convert -size 256x256 xc:none -draw "scale 8,8 $drawing" PNG32:"$dir/256.png"
    for size in 16 24 32 48; do
        convert "$dir/256.png" -scale "${size}x$size" PNG32:"$dir/$size.png"
    done
    convert "$dir"/{16,24,32,48,256}.png "$out"
    rm -r "$dir"
}

icon lookup_song.ico "$page"
icon ../resources/songserv.ico "$page $broadcast"
icon ../resources/songtool.ico "$page $arrow"
