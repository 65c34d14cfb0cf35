#!/usr/bin/env bash
# Regenerates the expected output, error and status of the end-to-end
# programs from what tarmisy-run does now, for review with git diff.
# Usage: tests/programs/update.sh BUILD_DIR [NAME...]
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
shift
cd "$(dirname "$0")"
runner="$build/cli/tarmisy-run"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in *.prg; do names+=("${f%.prg}"); done
fi
success="Выполнение программы завершено успешно."
for name in "${names[@]}"; do
  args=()
  [ -f "$name.args" ] && mapfile -t args < "$name.args"
  input=/dev/null
  [ -f "$name.in" ] && input="$name.in"
  set +e
  "$runner" "${args[@]}" "$name.prg" < "$input" > "$name.out" 2> "$name.err"
  status=$?
  set -e
  [ -s "$name.out" ] || rm -f "$name.out"
  if [ "$(cat "$name.err")" = "$success" ]; then rm -f "$name.err"; fi
  if [ $status -eq 0 ]; then rm -f "$name.status"; else echo $status > "$name.status"; fi
  echo "$name: $status"
done
