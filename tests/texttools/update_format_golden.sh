#!/usr/bin/env bash
# Rewrites the formatter's golden files from the runner; review the diff.
# Usage: update_format_golden.sh path/to/tarmisy-run
set -euo pipefail
run=${1:?path to tarmisy-run}
cd "$(dirname "$0")/format"
for prg in *.prg; do
  "$run" --format "$prg" | sed 's/$/|/' > "${prg%.prg}.fmt"
done
