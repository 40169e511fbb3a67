#!/usr/bin/env bash
# Shows the debugger as a user sees it: starts Korvane under Xvfb on tests/debugger's MASM
# program with the real MASM 5.10 and LINK 3.65 of ../shared/dos-tools, starts a session with
# F11, steps into the loop with a breakpoint after it, and saves a screenshot.
#   bash scripts/debugger_screenshot.sh [screenshot.png]
# KORVANE_XVFB_SIZE sets the screen (1280x800 when not given).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

KORVANE_PACKAGES="$KORVANE_PACKAGES xdotool"
korvane_install_missing
korvane_build
prefix="$KORVANE_BUILD/runprefix"
korvane_prepare_prefix "$prefix" x11

shot=${1:-$KORVANE_BUILD/korvane-debugger.png}
tools=$(cd "$KORVANE_ROOT/../shared/dos-tools" && pwd)
work=$(mktemp -d)
for name in SUM.ASM PRINT.INC; do
  sed 's/$/\r/' "$KORVANE_ROOT/tests/debugger/programs/$name" >"$work/$name"
done
winpath() { WINEPREFIX="$prefix" winepath -w "$1" 2>/dev/null; }
key='HKLM\Software\korvane'
korvane_wine "$prefix" reg add "$key" /v type /d masm /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\masm" /v cmp /d "$(winpath "$tools/MASM.EXE")" /f >/dev/null 2>&1
korvane_wine "$prefix" reg add "$key\\masm" /v lnk /d "$(winpath "$tools/LINK.EXE")" /f >/dev/null 2>&1

size=${KORVANE_XVFB_SIZE:-1280x800}
display=:${KORVANE_XVFB_DISPLAY:-78}
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display
WINEPREFIX="$prefix" "$KORVANE_ROOT/scripts/wine-run.sh" "$KORVANE_BUILD/bin/korvane.exe" "$(winpath "$work/SUM.ASM")" &
sleep "${KORVANE_SCREENSHOT_DELAY:-8}"
window=$(xdotool search --name 'Korvane' | head -1)
xdotool windowmove "$window" 0 0 windowsize "$window" "${size%x*}" "${size#*x}"
sleep 1
press() { xdotool key --window "$window" "$@"; sleep "${PRESS_DELAY:-1}"; }
PRESS_DELAY=8 press F11          # saves, builds with a listing and a map, stops at the entry
press F11 F11                    # MOV AX, DSEG; MOV DS, AX
press ctrl+End Up Up Up Up Up Up Up Up Up F9   # a breakpoint on MOV TOTAL, AX
press F5                         # runs the loop to it
press Down Down ctrl+F10    # to the first CALL PRINTS
press F10                        # prints through the included procedure
import -window root "$shot"
echo "Screenshot of a debugging session: $shot"
