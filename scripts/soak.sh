#!/usr/bin/env bash
# The fault soak: builds zarn-soak and zarn-sim in the given build folder and runs the soak
# against the simulator with lost, spoiled and split answers.
# Usage: scripts/soak.sh [BUILD_FOLDER]   (make soak passes build-perf)
#   SOAK_SECONDS  duration (default 180); SOAK_SEED  fixed seed to repeat a run
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build-perf}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_BENCH=ON >/dev/null
cmake --build "$build" --target zarn-soak zarn-sim

export QT_QPA_PLATFORM=offscreen
export ZARN_SIM="$build/bin/zarn-sim"
export SOAK_SECONDS="${SOAK_SECONDS:-180}"
# Qt's notes about the offscreen platform are no findings.
exec "$build/bin/zarn-soak" 2> >(grep -v -e XDG_RUNTIME_DIR -e 'does not support' >&2)
