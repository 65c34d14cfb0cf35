#!/usr/bin/env bash
# Runs each workload in the pupils' language through tarmisy-run and the same
# algorithm in CPython on this machine, and writes the ratios.
# Usage: bench/interp/compare.sh [BUILD_DIR] [RUNS]   (default: build, 3 runs)
# Time is the CPU time (user + system) of the best of RUNS runs, so that other
# load on the machine disturbs it less; memory is the peak resident set size.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${2:-3}
runner="$build/cli/tarmisy-run"
[ -x "$runner" ] || { echo "no $runner: build the target tarmisy-run first" >&2; exit 1; }

# best CPU seconds and peak KB of a command over $runs runs
measure() {
  local best="" peak=0 line t kb stats
  stats=$(mktemp)
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$stats" -f "%U %S %M" "$@" >/dev/null 2>&1
    line=$(tail -1 "$stats")
    t=$(echo "$line" | awk '{printf "%.3f", $1 + $2}')
    kb=$(echo "$line" | awk '{print $3}')
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    if [ "$kb" -gt "$peak" ]; then peak=$kb; fi
  done
  rm -f "$stats"
  echo "$best $peak"
}

printf "%-8s %10s %10s %8s %10s\n" workload tarmisy_s python_s ratio peak_MB
for w in loop fib sieve strings real; do
  read -r ours ourKb < <(measure "$runner" "$here/$w.prg")
  read -r py _ < <(measure python3 "$here/$w.py")
  ratio=$(awk "BEGIN{printf \"%.2f\", $ours / ($py > 0 ? $py : 0.001)}")
  printf "%-8s %10s %10s %8s %10.1f\n" "$w" "$ours" "$py" "$ratio" "$(awk "BEGIN{print $ourKb / 1024}")"
done
echo "ratio = tarmisy time / CPython time (at or below 1: at least as fast as CPython)"
