#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz with clang 14, whose fuzzer runtime the
# set-up installs (a bare `clang` comes only with another package), runs each over its
# regression inputs once, then fuzzes each for FUZZ_SECONDS (20 by default) over a
# copy of its seed corpus, a few at a time. Any crash, leak, undefined behaviour or
# timeout fails the run; the input that caused it is left in build/fuzz/artifacts.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
FUZZ_SECONDS="${FUZZ_SECONDS:-20}"
folder="$KORVANE_ROOT/build/fuzz"
mkdir -p "$folder"
if ! { cmake -S "$KORVANE_ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
         -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCHMARKS=OFF &&
       cmake --build "$folder" -j"$(nproc)" --target korvane_fuzz; } >"$folder/build.log" 2>&1; then
  cat "$folder/build.log"
  echo "Fuzz build failed in $folder" >&2
  exit 1
fi

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
rm -rf "$folder/corpus" "$folder/artifacts" "$folder/logs"
mkdir -p "$folder/artifacts" "$folder/logs"
cp -r "$KORVANE_ROOT/fuzz/corpus" "$folder/corpus"

# fuzz_one NAME: regressions first, so a known crash is named as such.
fuzz_one() {
  local name="$1"
  local binary="$folder/fuzz/korvane_fuzz_$name"
  local log="$folder/logs/$name.log"
  local regressions="$KORVANE_ROOT/fuzz/regressions/$name"
  if [ -d "$regressions" ] && ! "$binary" "$regressions"/* >"$log" 2>&1; then
    echo "FAIL $name: a regression input fails again (log: $log)"
    tail -n 40 "$log"
    return 1
  fi
  if ! "$binary" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$folder/artifacts/$name-" "$folder/corpus/$name" >>"$log" 2>&1; then
    echo "FAIL $name (log: $log)"
    tail -n 40 "$log"
    return 1
  fi
  echo "ok   $name ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs)"
}

names=()
for corpus in "$KORVANE_ROOT"/fuzz/corpus/*/; do
  names+=("$(basename "$corpus")")
done
export -f fuzz_one
export folder FUZZ_SECONDS KORVANE_ROOT
printf '%s\n' "${names[@]}" | xargs -P "$(nproc)" -I{} bash -c 'fuzz_one "$1"' _ {}
