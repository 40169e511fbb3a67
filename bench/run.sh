#!/usr/bin/env bash
# Builds Korvane and prints its performance figures, each against a baseline measured in
# the same run (headless, in the test prefix). "bench/run.sh capture" measures the capture alone.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

korvane_install_missing
korvane_build
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
cd "$KORVANE_BUILD/bin"
WINEPREFIX="$KORVANE_BUILD/wineprefix" "$KORVANE_ROOT/scripts/wine-run.sh" korvane_bench.exe "$@"
