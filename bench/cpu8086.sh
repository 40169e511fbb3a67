#!/usr/bin/env bash
# The CPU's speed beside DOSBox 0.74's on the same CPU-bound DOS program, in one run: builds
# bench/cpu8086_program.asm with nasm, times it in Debian's DOSBox (headless, core=normal,
# cycles=max; the time of an empty program is taken off, so the figure runs from the program's
# start to its end), then runs cpu8086_bench.exe under Wine, which prints both figures.
#   bench/cpu8086.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

korvane_install_missing
cmake -S "$KORVANE_ROOT" -B "$KORVANE_BUILD" \
  -DCMAKE_TOOLCHAIN_FILE="$KORVANE_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$KORVANE_BUILD" --target cpu8086_bench -j "$(nproc)" >/dev/null
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null

work=$KORVANE_BUILD/cpu8086-bench
rm -rf "$work"
mkdir -p "$work"
nasm -f bin -o "$work/BENCH.COM" "$KORVANE_ROOT/bench/cpu8086_program.asm"
# MOV AX,4C00h / INT 21h
printf '\xb8\x00\x4c\xcd\x21' >"$work/EMPTY.COM"

# Seconds DOSBox takes from its start to its exit with the given program.
dosbox_seconds() {
  local program=$1 config=$work/$1.conf start end
  printf '[cpu]\ncore=normal\ncycles=max\n[autoexec]\nmount c "%s"\nc:\n%s.COM\nexit\n' "$work" "$program" >"$config"
  start=$(date +%s.%N)
  SDL_VIDEODRIVER=dummy timeout 300 dosbox -conf "$config" >"$work/$program.log" 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# The best of three for each, as the machine may be shared.
best() {
  local program=$1 best= t
  for _ in 1 2 3; do
    t=$(dosbox_seconds "$program")
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

empty=$(best EMPTY)
full=$(best BENCH)
dosbox=$(awk -v f="$full" -v e="$empty" 'BEGIN { print f - e }')
printf 'DOSBox start-up and exit with an empty program: %.2f s\n' "$empty"
cd "$KORVANE_BUILD/bin"
WINEPREFIX="$KORVANE_BUILD/wineprefix" "$KORVANE_ROOT/scripts/wine-run.sh" cpu8086_bench.exe \
  "$(WINEDEBUG=-all WINEPREFIX="$KORVANE_BUILD/wineprefix" winepath -w "$work/BENCH.COM" 2>/dev/null | tr -d '\r')" "$dosbox"
