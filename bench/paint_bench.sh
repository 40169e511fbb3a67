#!/usr/bin/env bash
# The program's window at full pace: bench/dos/redraw13.asm redraws mode 13h's screen as fast
# as the machine goes for five seconds (91 timer ticks) and prints how often; korvane-dos.exe,
# on an X screen (Xvfb) with KORVANE_DOS_PAINTS set, writes how many pictures it handed its
# window and how many the window painted; the same under Wine's null display driver, where a
# paint costs no X server. Medians of three runs, beside Debian's DOSBox 0.74 (cycles=max,
# normal core) running the same program, and the 60 a second a monitor shows.
#   bench/paint_bench.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
korvane_install_missing
korvane_build >/dev/null
prefix=$KORVANE_BUILD/runprefix
korvane_prepare_prefix "$prefix" x11
null_prefix=$KORVANE_BUILD/wineprefix
korvane_prepare_prefix "$null_prefix" null
work=$KORVANE_BUILD/paint-bench
rm -rf "$work"
mkdir -p "$work"
nasm -f bin -o "$work/REDRAW13.COM" "$KORVANE_ROOT/bench/dos/redraw13.asm"
runs=3
seconds=5
display=:${KORVANE_XVFB_DISPLAY:-81}
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
median() { sort -n | sed -n "$((runs / 2 + 1))p"; }
per_second() { awk -v n="$1" -v ms="$2" 'BEGIN { printf "%.0f", (ms > 0 ? n * 1000 / ms : 0) }'; }

# korvane-dos.exe's runs in a prefix: "redraws pictures paints", each a second, medians.
korvane_runs() {
  local redraws=() pictures=() paints=() i count presented painted ms
  for ((i = 0; i < runs; i++)); do
    count=$(cd "$work" && DISPLAY=$display KORVANE_DOS_PAINTS="Z:${work//\//\\}\\PAINTS.TXT" WINEPREFIX="$1" \
      "$KORVANE_ROOT/scripts/wine-run.sh" "$KORVANE_BUILD/bin/korvane-dos.exe" REDRAW13.COM </dev/null | tr -d '\r')
    read -r presented painted ms <"$work/PAINTS.TXT"
    redraws+=($((count / seconds)))
    pictures+=($(per_second "$presented" "$ms"))
    paints+=($(per_second "$((painted - 1))" "$ms"))
  done
  echo "$(printf '%s\n' "${redraws[@]}" | median) $(printf '%s\n' "${pictures[@]}" | median) $(printf '%s\n' "${paints[@]}" | median)"
}
read -r x_redraws x_pictures x_paints <<<"$(korvane_runs "$prefix")"
read -r null_redraws null_pictures null_paints <<<"$(korvane_runs "$null_prefix")"

dosbox_redraws=()
printf '@echo off\r\nREDRAW13 > OUT.TXT\r\n' >"$work/RUN.BAT"
korvane_dosbox_conf "$work/dosbox.conf" "$work" "$work"
for ((i = 0; i < runs; i++)); do
  SDL_VIDEODRIVER=dummy dosbox -conf "$work/dosbox.conf" >/dev/null 2>&1
  dosbox_redraws+=($(($(tr -dc '0-9' <"$work/OUT.TXT") / seconds)))
done

echo "The program's window, mode 13h redrawn at full pace for $seconds s (a second; medians of $runs)"
printf '%-34s %10s %12s %10s\n' "" "redraws" "pictures" "paints"
printf '%-34s %10s %12s %10s\n' "korvane-dos.exe, Xvfb" "$x_redraws" "$x_pictures" "$x_paints"
printf '%-34s %10s %12s %10s\n' "korvane-dos.exe, null display" "$null_redraws" "$null_pictures" "$null_paints"
printf '%-34s %10s %12s %10s\n' "DOSBox 0.74, cycles=max" "$(printf '%s\n' "${dosbox_redraws[@]}" | median)" "-" "-"
printf '%-34s %10s %12s %10s\n' "a monitor" "-" "-" "60"
