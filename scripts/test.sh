#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the full build with
# ctest, then the Qt-free core under AddressSanitizer and
# UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
# Tests never need a display; widget tests draw offscreen.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "== build and test (RelWithDebInfo) =="
cmake --preset default
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake --preset sanitize
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -L core

echo "== fuzz targets (clang, libFuzzer): build, then replay their seed corpora =="
if command -v clang++ >/dev/null 2>&1; then
  cmake --preset fuzz
  cmake --build build-fuzz -j"$jobs"
  for target in compiler maze interp loc html; do
    "build-fuzz/fuzz/$target/${target}_fuzz" -runs=0 "fuzz/$target/corpus"
  done
else
  echo "clang++ is missing: fuzz targets skipped"
fi
