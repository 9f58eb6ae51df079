#!/bin/sh
# Makes the README's pictures of the song viewer: docs/viewer.png, the
# viewer showing a song two half steps up, and docs/remote-page.png, the
# remote page that the open viewer has written, as headless Chromium shows
# it. Needs a 64-bit Windows build with its Wine prefix (see test.sh), an X
# display (Xvfb is started when DISPLAY is unset), ImageMagick's import,
# xwininfo and chromium.
#
#   docs/make_viewer_pictures.sh [BUILD_DIR]     (default build/win64)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/win64}
snapshot="$build/tests/ui/viewer_snapshot.exe"
[ -x "$build/wine-run" ] && [ -f "$snapshot" ] || {
    echo "build $build first (target viewer_snapshot)" >&2
    exit 1
}
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :59 -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb' EXIT
    export DISPLAY=:59
    sleep 1
fi

work=$(mktemp -d)
"$build/wine-run" "$snapshot" "Z:$(printf %s "$work" | tr / '\\')" &
viewer=$!
for _ in $(seq 120); do
    [ -s "$work/ready" ] && break
    sleep 1
done
[ -s "$work/ready" ] || { echo "the viewer did not open" >&2; kill $viewer; exit 1; }

# Without a window manager Wine's idea of where a window lies can be off by
# a caption's height: take the viewer's own X window (the one window of the
# program without a name, apart from 1x1 helpers) where there is one.
read -r left top width height <"$work/ready"
xid=$(xwininfo -root -tree |
    awk '/\(has no name\): \("viewer_snapshot.exe"/ && !/ 1x1\+/ { print $1; exit }')
if [ -n "$xid" ]; then
    import -window "$xid" docs/viewer.png
else
    import -window root -crop "${width}x${height}+${left}+${top}" docs/viewer.png
fi
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$(mktemp -d)" --window-size=900,760 \
    --screenshot="$PWD/docs/remote-page.png" "file://$work/index.html"

touch "$work/done"
wait $viewer
rm -rf "$work"
echo "wrote docs/viewer.png and docs/remote-page.png"
