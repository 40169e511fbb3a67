#!/usr/bin/env bash
# Shows the 8051's board pane as a user sees it: starts Korvane under Xvfb on one of the pz
# board's test programs (tests/mcs51/boards, assembled by as31 here), runs it with F9 at a real
# chip's pace and saves a screenshot while it runs (as31 takes only a .asm: it assembles a copy;
# Korvane opens the .a51, which builds with the MCS51 toolchain).
#   bash scripts/board_screenshot.sh [program] [screenshot.png]
# program is count (the default), lcd, keypad, flow or buzzer; KORVANE_XVFB_SIZE sets the
# screen (1280x800 when not given).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

KORVANE_PACKAGES="$KORVANE_PACKAGES xdotool"
korvane_install_missing
korvane_build
prefix="$KORVANE_BUILD/runprefix"
korvane_prepare_prefix "$prefix" x11

program=${1:-count}
shot=${2:-$KORVANE_BUILD/korvane-board-$program.png}
work=$(mktemp -d)
sed 's/$/\r/' "$KORVANE_ROOT/tests/mcs51/boards/$program.a51" >"$work/$program.a51"
(cd "$work" && cp "$program.a51" "$program.asm" && as31 -l "$program.asm" >/dev/null)
# The .hex is newer than its source: F9 takes it as it is.
touch -d '+2 seconds' "$work/$program.hex"
winpath() { WINEPREFIX="$prefix" winepath -w "$1" 2>/dev/null; }
key='HKLM\Software\korvane'
korvane_wine "$prefix" reg add "$key" /v type /d mcs /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\mcs" /v cmp /d 'C:\as31\as31.exe' /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\mcs" /v lnk /d '' /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\mcs" /v nolink /d 1 /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\mcs" /v board51 /d pz /f >/dev/null 2>&1

size=${KORVANE_XVFB_SIZE:-1280x800}
display=:${KORVANE_XVFB_DISPLAY:-79}
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display
WINEPREFIX="$prefix" "$KORVANE_ROOT/scripts/wine-run.sh" "$KORVANE_BUILD/bin/korvane.exe" "$(winpath "$work/$program.a51")" &
sleep "${KORVANE_SCREENSHOT_DELAY:-8}"
window=$(xdotool search --name 'Korvane' | head -1)
xdotool windowmove "$window" 0 0 windowsize "$window" "${size%x*}" "${size#*x}"
sleep 1
xdotool key --window "$window" F9
sleep "${KORVANE_RUN_DELAY:-4}"
import -window root "$shot"
echo "Screenshot of the board pane: $shot"
