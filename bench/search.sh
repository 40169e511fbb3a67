#!/usr/bin/env bash
# Builds Korvane and prints the figures of its search, Replace all and message walk in the
# largest document (headless, in the test prefix).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

korvane_install_missing
korvane_build
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
cd "$KORVANE_BUILD/bin"
WINEPREFIX="$KORVANE_BUILD/wineprefix" "$KORVANE_ROOT/scripts/wine-run.sh" search_bench.exe "$@"
