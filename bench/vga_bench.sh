#!/usr/bin/env bash
# The video adapter's memory beside Debian's DOSBox 0.74 (cycles=max, normal core), in one
# run: a mode 13h program that fills the screen 100 times (bench/dos/fill13.asm, 6.4 million
# bytes through the adapter's planes) and one that fills text mode's 32 KB 100 times
# (fill3.asm, RAM); whole runs of korvane-dos.exe and of DOSBox less an empty program's,
# medians of five, and the machine alone in the bench's own process, also with the debugger's
# step-back history attached (which then keeps each plane byte a write changes).
#   bench/vga_bench.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
korvane_install_missing
korvane_build >/dev/null
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
export WINEPREFIX=$KORVANE_BUILD/wineprefix
work=$KORVANE_BUILD/vga-bench
rm -rf "$work"
mkdir -p "$work"
for name in fill13 fill3 empty; do
  nasm -f bin -o "$work/${name^^}.COM" "$KORVANE_ROOT/bench/dos/$name.asm"
done
runs=5
dosbox_d=$work
source "$KORVANE_ROOT/bench/dos_timing.sh"
less() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", a - b }'; }

dosbox_empty=$(dosbox_ms 'EMPTY.COM')
korvane_empty=$(field runner_ms "$(bench runner $runs EMPTY.COM)")
echo "Video memory bench (ms, medians of $runs, less an empty program's run; DOSBox 0.74 cycles=max, normal core)"
printf '%-40s %10s %12s %16s %16s\n' "" "DOSBox" "korvane-dos" "machine alone" "with step back"
for name in FILL13 FILL3; do
  dosbox=$(dosbox_ms "$name.COM")
  korvane=$(field runner_ms "$(bench runner $runs "$name.COM")")
  machine=$(field machine_ms "$(bench machine "$name.COM")")
  recorded=$(field machine_ms "$(bench machine "$name.COM" --history)")
  label="mode 13h, screen filled 100 times"
  [ $name = FILL3 ] && label="mode 3, 32 KB of text filled 100 times"
  printf '%-40s %10s %12s %16s %16s\n' "$label" "$(less "$dosbox" "$dosbox_empty")" "$(less "$korvane" "$korvane_empty")" "$machine" "$recorded"
done
