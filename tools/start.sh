#!/usr/bin/env bash
# Installs what is missing, builds and installs Korvane, then starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
build "$KORVANE_ROOT/build/release" -DKORVANE_TESTS=OFF -DKORVANE_BENCHMARKS=OFF
install_korvane "$KORVANE_ROOT/build/release"
report_installed

if command -v korvane >/dev/null 2>&1; then
  exec korvane
fi
echo "Korvane has no window yet; the DSN services and the Access driver set-up are installed."
