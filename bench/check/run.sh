#!/usr/bin/env bash
# Checking a class: 40 programs on the three fields of tests/check/garden,
# first with the README's sequential loop of tarmisy-run (once per field),
# then with tarmisy-check -j 1 and -j 2. The class is a plausible mix: most
# solve the task, some only the first field, some do not translate or walk
# into a wall, and two turn on the spot for ever.
# Usage: bench/check/run.sh [BUILD_DIR] [ENDLESS]   (ENDLESS=0 leaves those two out)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
endless=${2:-2}
run="$build/cli/tarmisy-run"
check="$build/check/tarmisy-check"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/pupils" "$work/loop" "$work/report"
class="$src/tests/check/class"
n=0
add() { cp "$class/$1.prg" "$work/pupils/$(printf '%02d' $n)-$1.prg"; n=$((n + 1)); }
for i in $(seq 1 6); do add ivanov; add orlova; add smirnov; add volkov; done   # 24 solve it
for i in $(seq 1 6); do add petrov; done                                      # 6 only the first field
for i in $(seq 1 4); do add sidorov; done                                     # 4 do not translate
for i in $(seq 1 $((6 - endless))); do add kuznetsova; done                   # run-time errors
for i in $(seq 1 "$endless"); do add popov; done                              # endless
echo "programs: $n, fields: 3, endless: $endless"

now() { date +%s.%N; }
start=$(now)
for task in "$src"/tests/check/garden/*.maz; do
  t=$(basename "$task" .maz)
  for prg in "$work"/pupils/*.prg; do
    base="$work/loop/$(basename "$prg" .prg)-$t"
    timeout --preserve-status 10 "$run" --task "$task" --png "$base.png" "$prg" \
      < /dev/null > "$base.out" 2> "$base.err" || true
  done
done
loop=$(echo "$(now) - $start" | bc)
printf 'README loop (sequential): %.1f s\n' "$loop"
for j in 1 2; do
  start=$(now)
  "$check" "$src/tests/check/garden" "$work/pupils" --out "$work/report" -j $j 2> /dev/null
  t=$(echo "$(now) - $start" | bc)
  printf 'tarmisy-check -j %d: %.1f s (%.2f of the loop)\n' $j "$t" "$(echo "$t / $loop" | bc -l)"
done
