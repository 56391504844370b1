#!/usr/bin/env bash
# Installs what is missing, builds Korvane with warnings as errors, installs it
# and runs the whole test suite, builds and checks the Debian package, runs the
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes
# every parser of outside input a while.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
build "$KORVANE_ROOT/build/ci" -DKORVANE_WERROR=ON
install_korvane "$KORVANE_ROOT/build/ci"
report_installed

export CTEST_PARALLEL_LEVEL="$(nproc)"
echo "== Test suite"
ctest --test-dir "$KORVANE_ROOT/build/ci" --output-on-failure

echo "== Debian package"
bash "$KORVANE_ROOT/tools/check-package.sh" "$KORVANE_ROOT/build/ci"

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
build "$KORVANE_ROOT/build/sanitize" -DKORVANE_WERROR=ON -DKORVANE_SANITIZE=ON -DKORVANE_BENCHMARKS=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$KORVANE_ROOT/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$KORVANE_ROOT/build/sanitize" --output-on-failure

echo "== Fuzzing every parser of outside input"
bash "$KORVANE_ROOT/tools/fuzz.sh"
