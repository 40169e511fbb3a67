#!/usr/bin/env bash
# Korvane's DOS machine beside Debian's DOSBox 0.74 (cycles=max, normal core), in one run:
# a CPU-bound program (bench/dos/cpuload.asm) and a MASM 5.10 + LINK build of a textbook
# program (tests/dos/masm/sum.asm), each as whole runs of korvane-dos.exe (started from
# inside Wine, as Korvane starts it) and of DOSBox, medians of five; and the machine alone in
# the bench's own process. An empty program gives what starting costs. Korvane runs a build
# with DOSBox one DOSBox per step, so the build is timed that way, and also with both steps
# in one DOSBox run.
#   bench/dos_bench.sh [TOOLS-DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
tools=$(cd "${1:-$KORVANE_ROOT/../shared/dos-tools}" && pwd)
korvane_install_missing
korvane_build >/dev/null
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
export WINEPREFIX=$KORVANE_BUILD/wineprefix
work=$KORVANE_BUILD/dos-bench
rm -rf "$work"
mkdir -p "$work"
nasm -I "$KORVANE_ROOT/tests/dos/programs/" -f bin -o "$work/CPULOAD.COM" "$KORVANE_ROOT/bench/dos/cpuload.asm"
nasm -f bin -o "$work/EMPTY.COM" "$KORVANE_ROOT/bench/dos/empty.asm"
cp "$KORVANE_ROOT/tests/dos/masm/sum.asm" "$work/SUM.ASM"
runs=5
dosbox_d=$tools
source "$KORVANE_ROOT/bench/dos_timing.sh"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

wintools=$(WINEDEBUG=-all winepath -w "$tools" 2>/dev/null | tr -d '\r')
dosbox_empty=$(dosbox_ms 'EMPTY.COM')
dosbox_cpu=$(dosbox_ms 'CPULOAD.COM')
dosbox_masm=$(dosbox_ms 'D:\MASM.EXE SUM.ASM;')
dosbox_link=$(dosbox_ms 'D:\LINK.EXE SUM;')
dosbox_build=$((dosbox_masm + dosbox_link))
dosbox_build_once=$(dosbox_ms $'D:\\MASM.EXE SUM.ASM;\r\nD:\\LINK.EXE SUM;')
korvane_empty=$(field runner_ms "$(bench runner $runs EMPTY.COM)")
korvane_cpu=$(field runner_ms "$(bench runner $runs CPULOAD.COM)")
korvane_build=$(field runner_ms "$(bench runner $runs "$wintools\\MASM.EXE SUM.ASM;" "$wintools\\LINK.EXE SUM;")")
machine=$(bench machine CPULOAD.COM)

echo "DOS machine bench (ms, medians of $runs; DOSBox 0.74 cycles=max, normal core)"
printf '%-34s %10s %12s\n' "" "DOSBox" "korvane-dos"
printf '%-34s %10s %12s\n' "empty program, start to end" "$dosbox_empty" "$korvane_empty"
printf '%-34s %10s %12s\n' "CPU-bound program, whole run" "$dosbox_cpu" "$korvane_cpu"
printf '%-34s %10s %12s\n' "CPU-bound program, less the start" "$((dosbox_cpu - dosbox_empty))" \
  "$(awk -v a="$korvane_cpu" -v b="$korvane_empty" 'BEGIN { printf "%.0f", a - b }')"
printf '%-34s %10s %12s\n' "MASM + LINK build, a run per step" "$dosbox_build" "$korvane_build"
printf '%-34s %10s %12s\n' "MASM + LINK build in one run" "$dosbox_build_once" ""
echo
echo "CPU-bound speed against DOSBox: $(ratio "$dosbox_cpu" "$korvane_cpu")x whole run," \
  "$(ratio "$((dosbox_cpu - dosbox_empty))" "$(awk -v a="$korvane_cpu" -v b="$korvane_empty" 'BEGIN { print a - b }')")x less the start" \
  "(aim: 3x or more)"
echo "Build time against DOSBox's: $(ratio "$korvane_build" "$dosbox_build") a run per step," \
  "$(ratio "$korvane_build" "$dosbox_build_once") against both steps in one DOSBox run (aim: 0.2 or less)"
echo "The machine alone in this process: $(field machine_ms "$machine") ms for" \
  "$(field million_instructions "$machine") million instructions, $(field mips "$machine") million a second"
