# Sourced by test.sh and run.sh: which Windows build runs on this machine,
# how a Wine prefix is made ready for the programs, and a virtual display.

# Wine's DLL overrides, written once in scripts/wine_overrides for these
# scripts and the test builds' wine-run alike: crashes end the program at
# once instead of waiting in Wine's debugger; Wine's .NET and HTML engines,
# which nothing here uses, are never set up.
wine_overrides=$(<"$(dirname "${BASH_SOURCE[0]}")/wine_overrides")

# Sets windows (win32 or win64), wine_loader, and windows_why: why the 64-bit
# build stands in. The programs are 32-bit, but some machines (some virtual
# machines among them) cannot execute 32-bit code at all; there the same
# sources built for 64-bit Windows run under wine64. SONGBOOK_WINDOWS=win64
# takes that path on any machine, to try it where 32-bit code runs.
choose_windows_build() {
    windows=win32 wine_loader=/usr/lib/wine/wine windows_why=
    local said
    if [[ ${SONGBOOK_WINDOWS:-} == win64 ]]; then
        windows_why="SONGBOOK_WINDOWS=win64 asks for the 64-bit build"
    elif ! dpkg-query -W -f='${db:Status-Abbrev}' wine32:i386 2>/dev/null | grep -q '^ii'; then
        windows_why="32-bit Wine (the Debian package wine32:i386) is not installed"
    elif ! said=$("$wine_loader" --version 2>&1); then
        if [[ $said == *"Exec format error"* || $said == *"cannot execute"* ]]; then
            windows_why="This machine cannot execute 32-bit programs"
        else
            windows_why="32-bit Wine does not start here ($said)"
        fi
    fi
    if [[ -n $windows_why ]]; then
        windows=win64 wine_loader=/usr/lib/wine/wine64
    fi
}

# Sets toolchain to the CMake toolchain file of the build that
# choose_windows_build chose, and says so when the 64-bit one stands in.
choose_windows_toolchain() {
    if [[ $windows == win64 ]]; then
        echo "$windows_why: songdesk built for 64-bit Windows stands in."
        toolchain=cmake/mingw-x86_64.cmake
    else
        toolchain=cmake/mingw-i686.cmake
    fi
}

# Makes the prefix of $WINEPREFIX (once). On a bare X server such as Xvfb
# there is no window manager, and Wine then waits two seconds for one each
# time it hides a window: "bare" tells Wine to place its windows itself.
prepare_wine_prefix() {  # prepare_wine_prefix LOADER [bare]
    [[ -f $WINEPREFIX/system.reg ]] || echo "Setting up the Wine prefix $WINEPREFIX (once)..."
    mkdir -p "$WINEPREFIX"
    if ! "$1" wineboot -i >/dev/null 2>&1; then
        echo "Wine could not set up its prefix $WINEPREFIX" >&2
        return 1
    fi
    if [[ ${2:-} == bare ]] &&
       ! "$1" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1; then
        echo "Wine's window settings could not be written: windows will be slow to close" >&2
    fi
    # Wine has no Courier New, the song editor's font, and would fall back
    # to a proportional face: chords would stand over the wrong syllables.
    # Liberation Mono (fonts-liberation) has Courier New's metrics.
    if ! "$1" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' \
            /d 'Liberation Mono' /f >/dev/null 2>&1; then
        echo "Wine's font settings could not be written: the editor's columns may not line up" >&2
    fi
    return 0
}

# Starts an X server of its own (Xvfb) on a free-looking display number and
# sets DISPLAY and xvfb_pid.
start_virtual_display() {
    export DISPLAY=:$((100 + RANDOM % 400))
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
}
