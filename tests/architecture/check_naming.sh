#!/bin/sh
# The naming rule of .clang-tidy over every source file of the tool and the simulator.
#   check_naming.sh <build folder with compile_commands.json> <project root>
set -eu
build=$1
root=$2
tidy=$(command -v clang-tidy || command -v clang-tidy-14 || true)
if [ -z "$tidy" ]; then
  echo "clang-tidy is missing: 'make deps' installs it" >&2
  exit 1
fi
# The files this build compiles: those of the other platform (the Windows line and console) have
# no compile command here and would only fail to find their system headers.
sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
  grep -E "^$root/(src|sim)/.*\.cpp$" | sort -u | tr '\n' '\0' |
  xargs -0 -P 2 -n 8 "$tidy" -p "$build" --quiet --use-color=false
