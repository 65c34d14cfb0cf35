#!/usr/bin/env bash
# Runs every program of tests/programs, tests/check and bench/interp (and of
# any EXTRA folders) through two builds' tarmisy-run in several modes and
# prints each difference in standard output, errors, exit status or the
# --stats instruction count. For changes to the interpreter that must not
# change what a program does: keep a copy of the runners from before
# (cli/tarmisy-run and cli/tarmisy-run-draw) and compare.
# Usage: bench/interp/same.sh BEFORE_BUILD AFTER_BUILD [EXTRA_FOLDER...]
set -uo pipefail
before=$(cd "${1:?build directory before}" && pwd)/cli/tarmisy-run
after=$(cd "${2:?build directory after}" && pwd)/cli/tarmisy-run
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
programs=("$root"/tests/programs/*.prg "$root"/bench/interp/*.prg)
mapfile -t -O ${#programs[@]} programs < <(find "$root/tests/check" -name '*.prg' | sort)
for extra in "$@"; do programs+=("$extra"/*.prg); done
modes=("" "--detect-loops" "--max-steps 3" "--max-steps 57" "--max-steps 1000" "--detect-loops --max-steps 200")
runs=0
differ=0
for prg in "${programs[@]}"; do
  base=${prg%.prg}
  args=()
  [ -f "$base.args" ] && mapfile -t args < "$base.args"
  input=/dev/null
  [ -f "$base.in" ] && input=$base.in
  for mode in "${modes[@]}"; do
    for side in before after; do
      # shellcheck disable=SC2086 # a mode is one or two options
      (cd "$(dirname "$prg")" && timeout 20 "${!side}" "${args[@]}" $mode --stats "$tmp/$side.stats" "$prg" \
        < "$input" > "$tmp/$side.out" 2> "$tmp/$side.err"; echo $? > "$tmp/$side.status")
    done
    runs=$((runs + 1))
    # A run cut off by the timeout is compared by its status only.
    parts=(out err status stats)
    grep -qx 124 "$tmp/before.status" && parts=(status)
    for part in "${parts[@]}"; do
      if ! cmp -s "$tmp/before.$part" "$tmp/after.$part"; then
        echo "differs in $part: $prg $mode"
        diff "$tmp/before.$part" "$tmp/after.$part" | head -5
        differ=1
      fi
    done
  done
done
echo "$runs runs compared"
exit $differ
