#!/usr/bin/env bash
# Runs each workload in the pupils' language through tarmisy-run, and the
# same algorithm in CPython and in Lua, on this machine; prints the ratios.
#
# Usage: bench/interp/compare.sh [BUILD_DIR] [PAIRS] [SIZE]
#   BUILD_DIR  default: build
#   PAIRS      runs of each side, taken in pairs (ours, theirs, ours, ...);
#              default 3
#   SIZE       small (the sizes written in the files, where start-up counts),
#              scaled (sizes at which start-up is a few percent; the goal is
#              judged on these), or both (default)
#
# Each ratio is the median over the pairs of (our time / their time), for the
# wall time and for the CPU time (user + system) of the whole process; below
# 1.0 we are faster. Memory is our peak resident set size. The reference
# interpreters are taken by absolute path, never from PATH, where a version
# manager's shim would add its own start-up to every run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
pairs=${2:-3}
size=${3:-both}
. "$here/../references.sh" "$build"
export QT_QPA_PLATFORM=offscreen

# The scaled sizes: one number in each workload (all three languages) that
# sets how much work it does, and what it becomes.
declare -A small=([loop]=10000000 [fib]=27 [sieve]=200 [strings]=100 [real]=2000000)
declare -A scaled=([loop]=100000000 [fib]=32 [sieve]=2000 [strings]=1000 [real]=20000000)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "wall cpu peakKB" of one run of a command: bash's clock for the times (to
# the millisecond), GNU time for the peak memory.
run() {
  local t
  t=$( { TIMEFORMAT='%3R %3U %3S'; time /usr/bin/time -o "$work/stats" -f "%M" "$@" >"$work/out" 2>&1; } 2>&1) ||
    { echo "failed: $*" >&2; cat "$work/out" >&2; exit 1; }
  echo "$t $(tail -1 "$work/stats")" | awk '{printf "%.3f %.3f %d\n", $1, $2 + $3, $4}'
}

median() { sort -g | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Prints one table row: workload, our wall and CPU seconds (medians), the
# median ratios against CPython and Lua (wall, CPU), and our peak memory.
compare() {
  local w=$1 n=$2 from=${small[$1]}
  local prg="$work/$w.prg" py="$work/$w.py" lu="$work/$w.lua"
  for f in prg py lua; do sed -E "s/\\b$from\\b/$n/g" "$here/$w.$f" >"$work/$w.$f"; done
  : >"$work/ours"; : >"$work/rpy"; : >"$work/rlua"
  local peak=0
  for _ in $(seq "$pairs"); do
    read -r ow oc kb < <(run "$runner" "$prg")
    read -r pw pc _ < <(run "$python" "$py")
    read -r ow2 oc2 kb2 < <(run "$runner" "$prg")
    read -r lw lc _ < <(run "$lua" "$lu")
    echo "$ow $oc" >>"$work/ours"; echo "$ow2 $oc2" >>"$work/ours"
    awk -v a="$ow" -v b="$pw" -v c="$oc" -v d="$pc" 'BEGIN{print a / (b > 0 ? b : 0.001), c / (d > 0 ? d : 0.001)}' >>"$work/rpy"
    awk -v a="$ow2" -v b="$lw" -v c="$oc2" -v d="$lc" 'BEGIN{print a / (b > 0 ? b : 0.001), c / (d > 0 ? d : 0.001)}' >>"$work/rlua"
    (( kb > peak )) && peak=$kb; (( kb2 > peak )) && peak=$kb2
  done
  printf "%-8s %10s %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.1f\n" "$w" "$n" \
    "$(cut -d' ' -f1 "$work/ours" | median)" "$(cut -d' ' -f2 "$work/ours" | median)" \
    "$(cut -d' ' -f1 "$work/rpy" | median)" "$(cut -d' ' -f2 "$work/rpy" | median)" \
    "$(cut -d' ' -f1 "$work/rlua" | median)" "$(cut -d' ' -f2 "$work/rlua" | median)" \
    "$(awk -v k="$peak" 'BEGIN{print k / 1024}')"
}

startup() {
  printf 'главная {\n}\n' >"$work/empty.prg"
  : >"$work/empty.py"; : >"$work/empty.lua"
  local o p l
  for who in ours py lua; do : >"$work/s_$who"; done
  for _ in $(seq "$pairs"); do
    run "$runner" "$work/empty.prg" | cut -d' ' -f1 >>"$work/s_ours"
    run "$python" "$work/empty.py" | cut -d' ' -f1 >>"$work/s_py"
    run "$lua" "$work/empty.lua" | cut -d' ' -f1 >>"$work/s_lua"
  done
  o=$(median <"$work/s_ours"); p=$(median <"$work/s_py"); l=$(median <"$work/s_lua")
  echo "empty program, median wall: ours ${o}s, CPython ${p}s, Lua ${l}s"
}

echo "$(uname -m), $(nproc) cores, $(date -u +%F), $pairs pairs; $("$python" --version 2>&1), $("$lua" -v 2>&1 | cut -d' ' -f1-2)"
startup
printf "%-8s %10s %8s %8s %8s %8s %8s %8s %8s\n" workload size wall_s cpu_s py_wall py_cpu lua_wall lua_cpu peak_MB
for w in loop fib sieve strings real; do
  [ "$size" != scaled ] && compare "$w" "${small[$w]}"
  [ "$size" != small ] && compare "$w" "${scaled[$w]}"
done
echo "py_* and lua_*: median of per-pair ratios ours / theirs (at or below 1.0: at least as fast)"
