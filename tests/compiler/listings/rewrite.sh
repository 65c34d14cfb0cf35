#!/usr/bin/env bash
# Writes the expected listing (NAME.lst) of every program NAME.prg here from
# what the compiler emits now. Run it when a change of the emitted code is
# meant, then read the diff before committing.
# Usage: tests/compiler/listings/rewrite.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../../build}" && pwd)
cmake --build "$build" --target compiler_tests
TARMISY_REWRITE_LISTINGS=1 "$build/tests/compiler/compiler_tests" --gtest_filter='Listings.*'
git -C "$here" diff --stat -- .
