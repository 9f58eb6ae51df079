#!/bin/sh
# Runs a Windows test program under Wine with the screen at DPI dots per
# inch, the way Wine's own settings set it (LogPixels), and puts the
# prefix's screen back at 96 afterwards, whatever the program did. The
# program finds the resolution it should see in LYRO_EXPECT_DPI. It must run
# alone on the display: Wine reads LogPixels when a program starts, so any
# other program started meanwhile would see this resolution too.
#
#   with_dpi.sh RUNNER DPI PROGRAM [ARGS...]
runner=$1 dpi=$2
shift 2
key='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
set_dpi() { "$runner" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
set_dpi "$dpi" || { echo "LogPixels could not be set to $dpi"; exit 1; }
status=0
LYRO_EXPECT_DPI=$dpi "$runner" "$@" || status=$?
set_dpi 96 || { echo "LogPixels could not be put back to 96"; exit 1; }
exit "$status"
