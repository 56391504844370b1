#!/usr/bin/env bash
# Installs what is missing, builds and installs Korvane, then starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
build "$KORVANE_ROOT/build/release" -DKORVANE_TESTS=OFF -DKORVANE_BENCHMARKS=OFF
install_korvane "$KORVANE_ROOT/build/release"
report_installed

installed="$(grep '/bin/korvane$' "$KORVANE_ROOT/build/release/install_manifest.txt" | head -n 1)"
exec "${installed:-korvane}"
