#!/usr/bin/env bash
# Installs what is needed, builds, and starts Тармисы.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset default
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"

exec build/desktop/tarmisy "$@"
