#!/usr/bin/env bash
# The performance figures of docs/performance.md: builds the benchmarks in the given build
# folder (RelWithDebInfo) and runs them offscreen against the simulator.
# Usage: scripts/bench.sh [BUILD_FOLDER]   (make bench passes build-perf)
#   BENCH_SECONDS  length of each CPU measurement (default 30)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build-perf}"
seconds="${BENCH_SECONDS:-30}"

# Qt Charts, for the comparison of plotting libraries only (bench_chart_libraries); its package
# lacks the dependency on the OpenGL development files its CMake files need.
"$root/scripts/install-deps.sh" qt6-charts-dev libqt6opengl6-dev

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_BENCH=ON >/dev/null
cmake --build "$build" --target bench_tick bench_tool bench_chart_libraries zarn-tool zarn-sim

export QT_QPA_PLATFORM=offscreen
export ZARN_SIM="$build/bin/zarn-sim"
bin="$build/bin"
# Qt's notes about the offscreen platform are not figures.
quiet() { "$@" 2> >(grep -v -e XDG_RUNTIME_DIR -e 'does not support' >&2); }

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "   load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "== work of one tick (Google Benchmark; CPU column; share of the 100 ms tick after it)"
quiet "$bin/bench_tick" --benchmark_min_time=1 |
  awk '/^BM_/ { ns = $4; if ($5 == "us") ns *= 1000; if ($5 == "ms") ns *= 1e6;
                printf "%s   %.3f %% of 100 ms\n", $0, ns / 1e6; next } { print }'

echo
echo "== start-up"
quiet "$bin/bench_tool" startup 7
quiet "$bin/bench_tool" startup-of "$bin/zarn-tool" 7

echo
echo "== polling the simulator: three windows of ${seconds} s each"
quiet "$bin/bench_tool" polling "$seconds" 3
quiet "$bin/bench_tool" polling "$seconds" 3 params
quiet "$bin/bench_tool" polling "$seconds" 3 fast
quiet "$bin/bench_tool" polling "$seconds" 3 monitor
quiet "$bin/bench_tool" monitor-rows
quiet "$bin/bench_tool" polling "$seconds" 3 charts
quiet "$bin/bench_tool" charts-day 20
quiet "$bin/bench_tool" recording-day 5
quiet "$bin/bench_tool" polling-of "$bin/zarn-tool" "$seconds" 3

echo
echo "== memory over an hour of polling after warm-up, fast-forwarded, against the history's own"
quiet "$bin/bench_tool" memory-hour 60

echo
echo "== read of all parameters"
quiet "$bin/bench_tool" bulk 5
quiet "$bin/bench_tool" bulk 5 tcp

echo
echo "== the fast exchange"
quiet "$bin/bench_tool" fast

echo
echo "== the plotting libraries: one redraw of ten series, QCustomPlot against Qt Charts"
quiet "$bin/bench_chart_libraries"

echo
echo "   load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
