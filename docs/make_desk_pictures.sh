#!/bin/sh
# Makes the README's pictures of songdesk from the built program:
# docs/library-dialog.png, docs/editor.png, docs/viewer.png (the viewer on a
# song two half steps up), docs/viewer-144dpi.png (the same on a screen of
# 144 dots per inch, as a laptop at 150 % has), and docs/remote-page.png,
# the remote page that the open viewer has written, as headless Chromium
# shows it. Needs a Windows build with its Wine prefix (see test.sh), an X
# display (Xvfb is started when DISPLAY is unset), ImageMagick's import,
# xwininfo and chromium.
#
#   docs/make_desk_pictures.sh [BUILD_DIR]     (default build/win32)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/win32}
snapshot="$build/tests/ui/viewer_snapshot.exe"
[ -x "$build/wine-run" ] && [ -f "$snapshot" ] || {
    echo "build $build first (target viewer_snapshot)" >&2
    exit 1
}
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :59 -screen 0 1920x1200x24 >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb' EXIT
    export DISPLAY=:59
    sleep 1
fi
fonts='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
set_dpi() { "$build/wine-run" reg add "$fonts" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }

# picture WHAT PNG: holds WHAT open (viewer, library or editor) and takes
# its picture; it stays open, its work folder in $work, until release.
picture() {
    work=$(mktemp -d)
    "$build/wine-run" "$snapshot" "Z:$(printf %s "$work" | tr / '\\')" "$1" &
    shown=$!
    for _ in $(seq 120); do
        [ -s "$work/ready" ] && break
        sleep 1
    done
    [ -s "$work/ready" ] || { echo "the $1 did not open" >&2; kill $shown; exit 1; }
    # Without a window manager Wine's idea of where a window lies can be off
    # by a caption's height: take the program's X window of the window's
    # size where there is one.
    read -r left top width height <"$work/ready"
    xid=$(xwininfo -root -tree |
        awk -v size="${width}x${height}" '/"viewer_snapshot.exe"/ && index($0, " " size "+") { print $1; exit }')
    if [ -n "$xid" ]; then
        import -window "$xid" "$2"
    else
        import -window root -crop "${width}x${height}+${left}+${top}" "$2"
    fi
}
release() {
    touch "$work/done"
    wait $shown
    rm -rf "$work"
}

picture library docs/library-dialog.png && release
picture editor docs/editor.png && release
set_dpi 144
picture viewer docs/viewer-144dpi.png || { set_dpi 96; exit 1; }
release
set_dpi 96
picture viewer docs/viewer.png
# The page that the open viewer wrote: once it closes, the list page
# takes its place.
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$(mktemp -d)" --window-size=900,760 \
    --screenshot="$PWD/docs/remote-page.png" "file://$work/index.html"
release
echo "wrote docs/library-dialog.png, editor.png, viewer.png, viewer-144dpi.png and remote-page.png"
