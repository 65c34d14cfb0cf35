#!/usr/bin/env bash
# Installs what is needed, builds, and starts Тармисы.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset default
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"

if [ -x build/app/tarmisy ]; then
  exec build/app/tarmisy "$@"
fi
if [ -x build/cli/tarmisy-run ]; then
  echo "The window is not built yet; running the example program with the headless runner instead."
  exec build/cli/tarmisy-run examples/hello.prg
fi
echo "Neither the window nor the headless runner is built yet; the libraries and tests are."
echo "Run ./scripts/test.sh to see them at work."
