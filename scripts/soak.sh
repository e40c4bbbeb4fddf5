#!/usr/bin/env bash
# The fault soak: the end-to-end round trip in its long mode, against a simulator that loses,
# spoils and splits answers, with the memory of the run printed as it goes; builds test_e2e and
# zarn-sim in the given build folder.
# Usage: scripts/soak.sh [BUILD_FOLDER]   (make soak passes build-perf)
#   SOAK_SECONDS  duration (default 180); SOAK_SEED  fixed seed to repeat a run
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build-perf}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_BENCH=ON >/dev/null
cmake --build "$build" --target test_e2e zarn-sim

export QT_QPA_PLATFORM=offscreen
export ZARN_SIM="$build/bin/zarn-sim"
export SOAK_SECONDS="${SOAK_SECONDS:-180}"
# Qt Test's watchdog would end a long soak after five minutes.
export QTEST_FUNCTION_TIMEOUT=$(( (SOAK_SECONDS + 900) * 1000 ))
# Qt's notes about the offscreen platform are no findings.
"$build/bin/test_e2e" soak 2> >(grep -v -e XDG_RUNTIME_DIR -e 'does not support' >&2) &
pid=$!
# The memory is a figure to read, not a verdict: resident size and its peak, once a minute.
for ((i = 1; ; i++)); do
  sleep 5
  [ -e "/proc/$pid" ] || break
  ((i % 12)) || echo "soak memory: $(awk '/^Vm(RSS|HWM)/ {printf "%s %s KiB  ", $1, $2}' "/proc/$pid/status")"
done
wait "$pid"
