#!/usr/bin/env bash
# Fails when a layer includes a header of a layer above it, so that the
# dependency direction of docs/architecture.md stays true without anyone
# having to remember it. Usage: check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Each layer and the layers it may include from (besides itself and the
# standard and Qt headers). Keep in step with docs/architecture.md.
declare -A allowed=(
  [resources]=""
  [lang]="resources"
  [pcode]="lang resources"
  [compiler]="pcode lang resources"
  [machine]="lang resources"
  [exec]="compiler machine pcode lang resources"
  [grid]="lang resources"
  [textmodel]="lang resources"
  [progfile]="textmodel lang resources"
  [executors]="machine grid lang resources"
  [editor]="textmodel lang resources"
  [check]="exec compiler machine grid progfile textmodel pcode lang resources"
  [app]="editor progfile textmodel executors grid exec machine compiler pcode lang resources"
)

# Which layer each project header belongs to.
declare -A owner=()
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r h; do
    name=${h##*/}
    if [ -n "${owner[$name]:-}" ] && [ "${owner[$name]}" != "$layer" ]; then
      echo "check-layers: header $name exists in $layer and ${owner[$name]}" >&2
      exit 1
    fi
    owner[$name]=$layer
  done < <(find "$layer" -name '*.h' -not -path '*/build*')
done

status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line text; do
    name=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
    name=${name##*/}
    dep=${owner[$name]:-}
    [ -z "$dep" ] || [ "$dep" = "$layer" ] && continue
    if [[ " ${allowed[$layer]} " != *" $dep "* ]]; then
      echo "$file:$line: $layer includes \"$name\" of $dep, which is above it" >&2
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$layer" --include='*.h' --include='*.cpp' || true)
done
[ $status -eq 0 ] && echo "check-layers: every include points down"
exit $status
