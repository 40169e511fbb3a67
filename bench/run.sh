#!/usr/bin/env bash
# Builds Korvane and prints its performance figures, each against a baseline measured in
# the same run (headless, in the test prefix). "bench/run.sh capture" measures the capture
# alone; "bench/run.sh search" prints the editor's search and the message walk instead,
# "bench/run.sh mcs51" the 8051 simulator's speed against a real chip, "bench/run.sh debugger"
# the debugger's continue against the machine alone and its step with every pane,
# "bench/run.sh debugger51" the 8051 debugger's continue against the simulator alone;
# "bench/run.sh cpu" the DOS machine's CPU against DOSBox (bench/cpu8086.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
[ "${1:-}" = cpu ] && exec bash "$KORVANE_ROOT/bench/cpu8086.sh"

korvane_install_missing
korvane_build
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
cd "$KORVANE_BUILD/bin"
bench=korvane_bench.exe
if [ "${1:-}" = search ]; then
  bench=search_bench.exe
  shift
elif [ "${1:-}" = mcs51 ]; then
  bench=mcs51_bench.exe
  shift
elif [ "${1:-}" = debugger ]; then
  bench=debugger_bench.exe
  shift
elif [ "${1:-}" = debugger51 ]; then
  bench=debugger51_bench.exe
  shift
fi
WINEPREFIX="$KORVANE_BUILD/wineprefix" "$KORVANE_ROOT/scripts/wine-run.sh" "$bench" "$@"
