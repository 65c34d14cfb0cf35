#!/usr/bin/env bash
# Start-up of tarmisy-run: an empty program for each executor, and the runs
# that set up more (a Turtle step, which needs the drawing runner; a Grondo
# task with its picture, as tarmisy-check runs it; a Turtle program that
# writes text, which needs fonts), next to an empty Lua 5.4 and CPython run.
#
# Usage: bench/startup/run.sh [BUILD_DIR] [ROUNDS] [OTHER_RUNNER]
#   BUILD_DIR     default: build
#   ROUNDS        default 21; each round runs every line once, in turn, so
#                 that a change in the machine's load touches all of them
#   OTHER_RUNNER  another tarmisy-run (an older build, say) measured in the
#                 same rounds, for a before/after table
#
# Prints the median wall time of each line in milliseconds and its ratio to
# Lua's median. The reference interpreters are taken by absolute path, never
# from PATH, where a version manager's shim would add its own start-up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
rounds=${2:-21}
other=${3:-}
. "$here/../references.sh" "$build"
[ -z "$other" ] || [ -x "$other" ] || { echo "no $other" >&2; exit 1; }
unset QT_QPA_PLATFORM

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'главная {\n}\n' >"$work/empty.prg"
printf 'главная {\n  Текст(10, 10, "Привет");\n}\n' >"$work/text.prg"
printf 'главная {\n  вперед(1);\n}\n' >"$work/step.prg"
printf 'wwwww\r\nwD..w\r\nwwwww\r\n' >"$work/task.maz"
: >"$work/empty.lua"; : >"$work/empty.py"

lines=()
add() { lines+=("$1"); }
for who in ours ${other:+other}; do
  bin=$runner; [ "$who" = other ] && bin=$other
  add "$who empty turtle|$bin --executor turtle $work/empty.prg"
  add "$who empty drawer|$bin --executor drawer $work/empty.prg"
  add "$who empty grondo|$bin --executor grondo $work/empty.prg"
  add "$who turtle step|$bin $work/step.prg"
  add "$who grondo task + png|$bin --task $work/task.maz --png $work/$who.png $work/step.prg"
  add "$who turtle text + png|$bin --png $work/$who-text.png $work/text.prg"
done
add "lua5.4 empty|$lua $work/empty.lua"
add "python3 empty|$python $work/empty.py"

# Wall milliseconds of one run, from the shell's own microsecond clock (no
# process of its own around the run). A failed run ends the benchmark,
# except for a task not solved (3), which the task run expects.
wall() {
  local t0 t1 status=0
  t0=$EPOCHREALTIME
  $1 >/dev/null 2>"$work/err" </dev/null || status=$?
  t1=$EPOCHREALTIME
  if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then echo "failed ($status): $1" >&2; cat "$work/err" >&2; exit 1; fi
  awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f\n", (b - a) * 1000}'
}

median() { sort -g | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for i in "${!lines[@]}"; do : >"$work/t$i"; done
for _ in $(seq "$rounds"); do
  for i in "${!lines[@]}"; do wall "${lines[$i]#*|}" >>"$work/t$i"; done
done

echo "$(uname -m), $(nproc) cores, $(date -u '+%F %H:%M') UTC, $rounds rounds, load:$(uptime | sed 's/.*load average://')"
lua_ms=$(median <"$work/t$((${#lines[@]} - 2))")
printf "%-26s %9s %8s\n" "run" "median_ms" "x_lua"
for i in "${!lines[@]}"; do
  m=$(median <"$work/t$i")
  printf "%-26s %9.2f %8.1f\n" "${lines[$i]%%|*}" "$m" "$(awk -v a="$m" -v b="$lua_ms" 'BEGIN{print a / b}')"
done
