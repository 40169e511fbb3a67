#!/usr/bin/env bash
# Installs what is missing, builds Korvane and its tests, and runs every test under Wine, headless.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

korvane_install_missing
korvane_build
korvane_prepare_prefix "$KORVANE_BUILD/wineprefix" null
cd "$KORVANE_BUILD"
ctest --output-on-failure "$@"
