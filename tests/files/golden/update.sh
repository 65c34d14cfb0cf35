#!/usr/bin/env bash
# Regenerates the HTML page of coloured.prg from what tarmisy-run writes
# now, for review with git diff. Usage: tests/files/golden/update.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
cd "$(dirname "$0")"
"$build/cli/tarmisy-run" --html coloured.html coloured.prg
