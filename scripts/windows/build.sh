#!/usr/bin/env bash
# make windows: the Windows tool, cross-built here. Installs what it needs from Debian, builds Qt
# and QCustomPlot for Windows once into a cache outside the build tree, then the program, and
# packs it as build-win/zarn-tool-<version>-win64.zip and build-win/zarn-tool-<version>-setup.exe.
# Usage: scripts/windows/build.sh [BUILD_FOLDER]   (default build-win)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-win}

"$root/scripts/install-deps.sh" $("$root/scripts/windows/packages.sh" build)
source "$root/scripts/windows/cache-paths.sh"
echo "Qt for Windows: $qt_windows (built once, kept for later builds)"
"$root/scripts/windows/cache-qt.sh"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$qt_windows;$qcustomplot_windows" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
cmake --build "$build" --target windows_package
ls -l "$build"/zarn-tool-*-win64.zip "$build"/zarn-tool-*-setup.exe
