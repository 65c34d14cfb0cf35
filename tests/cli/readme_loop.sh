#!/usr/bin/env bash
# The README's loop for checking a folder of pupils' programs, run as a
# teacher would run it on three pupils: one solves the task, one does not,
# one walks into a wall.
# Usage: readme_loop.sh RUNNER README
set -euo pipefail
runner=$1
readme=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir tasks pupils
printf 'wwwwww\r\nwDxx.w\r\nw.ww.w\r\nw....w\r\nwwwwww\r\n' > tasks/garden.maz
cat > pupils/ivanov.prg <<'PRG'
главная {
  повтори (4) {
    пока (впереди_свободно) { вперед(1); если (грядка) посади; }
    направо;
  }
}
PRG
printf 'главная {\n  вперед(1);\n  посади;\n}\n' > pupils/petrova.prg
printf 'главная {\n  вперед(2);\n  направо;\n  вперед(1);\n}\n' > pupils/sidorov.prg

# The loop as the README shows it, with this build's runner.
sed -n "/^## Checking pupils' programs/,/^## /p" "$readme" |
  sed -n '/^```sh$/,/^```$/p' | sed '1d;$d' |
  sed "s|^run=.*|run='$runner'|" > loop.sh
grep -q 'for prg in' loop.sh

actual=$(bash loop.sh)
expected=$(printf '%s\n' \
  $'ivanov.prg\tрешена\tЗадача решена верно. Грондо выполнил задание и вернулся на базу. ' \
  $'petrova.prg\tне решена\tЗадача решена неверно. Обнаружены следующие ошибки:     - не обработано клеток: 1 шт.     - Грондо не пришел на базу ' \
  $'sidorov.prg\tошибка при выполнении\t4: Ошибка исполнителя: не могу ходить сквозь стену ')
if [ "$actual" != "$expected" ]; then
  printf -- '--- expected\n%s\n--- actual\n%s\n' "$expected" "$actual"
  exit 1
fi
for p in ivanov petrova sidorov; do
  [ -s "pupils/$p.png" ] || { echo "no picture for $p"; exit 1; }
done
