# Sourced by the benchmark scripts with the build directory: sets runner
# (its tarmisy-run) and the reference interpreters python and lua, taken
# by absolute path, never from PATH, where a version manager's shim would
# add its own start-up to every run; stops when one is missing.
runner="$1/cli/tarmisy-run"
python=/usr/bin/python3
lua=/usr/bin/lua5.4
[ -x "$runner" ] || { echo "no $runner: build the target tarmisy-run first" >&2; exit 1; }
[ -x "$python" ] || { echo "no $python: apt-get install python3" >&2; exit 1; }
[ -x "$lua" ] || { echo "no $lua: apt-get install lua5.4" >&2; exit 1; }
