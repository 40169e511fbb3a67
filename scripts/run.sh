#!/usr/bin/env bash
# Installs what is missing, builds Korvane and starts it. With no display it runs under Xvfb,
# saves a screenshot of the main window and ends the program. Arguments are passed on.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

korvane_install_missing
korvane_build
prefix="$KORVANE_BUILD/runprefix"
korvane_prepare_prefix "$prefix" x11

# Unix paths of existing files become Windows paths for the program.
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then
    args+=("$(WINEPREFIX="$prefix" winepath -w "$arg" 2>/dev/null)")
  else
    args+=("$arg")
  fi
done

exe="$KORVANE_BUILD/bin/korvane.exe"
if [ -n "${DISPLAY:-}" ] && [ -z "${KORVANE_SCREENSHOT:-}" ]; then
  exec env WINEPREFIX="$prefix" "$KORVANE_ROOT/scripts/wine-run.sh" "$exe" "${args[@]}"
fi

shot=${KORVANE_SCREENSHOT:-$KORVANE_BUILD/korvane-screenshot.png}
display=:${KORVANE_XVFB_DISPLAY:-77}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display WINEPREFIX="$prefix" "$KORVANE_ROOT/scripts/wine-run.sh" "$exe" "${args[@]}" &
sleep "${KORVANE_SCREENSHOT_DELAY:-6}"
DISPLAY=$display import -window root "$shot"
echo "Screenshot of the main window: $shot"
