#!/usr/bin/env bash
# Builds Qt 6 for Windows from Debian's own source of qt6-base, once, into a cache folder outside
# the build tree, and QCustomPlot against it. Later runs find the cache and return at once.
# Usage: scripts/windows/cache-qt.sh   (the cache's place: scripts/windows/cache-paths.sh)
set -euo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/windows/cache-paths.sh"
cache=$windows_cache
qt_prefix=$qt_windows
plot_prefix=$qcustomplot_windows
toolchain=$here/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)
mkdir -p "$cache"

source_of() { # PACKAGE: unpacks Debian's source of PACKAGE into $cache/src, prints its folder
  local package=$1 dir
  mkdir -p "$cache/src"
  dir=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$package-*" | head -n1)
  if [ -z "$dir" ]; then
    "$here/scripts/windows/source-entries.sh"
    (cd "$cache/src" && apt-get source -qq "$package" >&2)
    dir=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$package-*" | head -n1)
  fi
  echo "$dir"
}

if [ ! -e "$qt_prefix/.complete" ]; then
  echo "Building Qt $qt_version for Windows into $qt_prefix (about 25 minutes on two cores)"
  qt_source=$(source_of qt6-base)
  build=$cache/build-qt
  rm -rf "$build" "$qt_prefix"
  # Only Core, Gui, Widgets, PrintSupport and Network are used. OpenGL must be refused as an input:
  # switching the feature off alone leaves dynamic OpenGL on. Debian removed wintab.h, hence no
  # tablet events. Every third-party library comes from the bundled copies in the source.
  cmake -S "$qt_source" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DINPUT_opengl=no -DFEATURE_tabletevent=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF \
    -DFEATURE_system_textmarkdownreader=OFF -DFEATURE_system_sqlite=OFF
  cmake --build "$build" --parallel "$jobs"
  cmake --install "$build" --strip
  rm -rf "$build"
  touch "$qt_prefix/.complete"
fi

if [ ! -e "$plot_prefix/.complete" ]; then
  echo "Building QCustomPlot for Windows into $plot_prefix"
  plot_source=$(source_of qcustomplot)
  build=$cache/build-qcustomplot
  rm -rf "$build" "$plot_prefix"
  mkdir -p "$build"
  # Debian's source carries the amalgamated qcustomplot.cpp/.h; one shared library of it, named
  # as Debian names its own, with the CMake package our build looks for.
  cat > "$build/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(qcustomplot LANGUAGES CXX)
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)
add_library(QCustomPlotQt6 SHARED $plot_source/qcustomplot.cpp $plot_source/qcustomplot.h)
set_target_properties(QCustomPlotQt6 PROPERTIES OUTPUT_NAME qcustomplot-qt6 PREFIX "")
target_compile_definitions(QCustomPlotQt6 PRIVATE QCUSTOMPLOT_COMPILE_LIBRARY
                           INTERFACE QCUSTOMPLOT_USE_LIBRARY)
target_include_directories(QCustomPlotQt6 INTERFACE \$<INSTALL_INTERFACE:include>)
target_link_libraries(QCustomPlotQt6 PUBLIC Qt6::Widgets Qt6::PrintSupport)
install(TARGETS QCustomPlotQt6 EXPORT QCustomPlotQt6Targets
        RUNTIME DESTINATION bin ARCHIVE DESTINATION lib LIBRARY DESTINATION lib)
install(FILES $plot_source/qcustomplot.h DESTINATION include)
install(EXPORT QCustomPlotQt6Targets NAMESPACE QCustomPlotQt6:: DESTINATION lib/cmake/QCustomPlotQt6)
file(WRITE \${CMAKE_BINARY_DIR}/QCustomPlotQt6Config.cmake
"include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Widgets PrintSupport)
include(\\\${CMAKE_CURRENT_LIST_DIR}/QCustomPlotQt6Targets.cmake)
")
install(FILES \${CMAKE_BINARY_DIR}/QCustomPlotQt6Config.cmake DESTINATION lib/cmake/QCustomPlotQt6)
CMAKE
  cmake -S "$build" -B "$build/out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt_prefix" \
    -DCMAKE_INSTALL_PREFIX="$plot_prefix"
  cmake --build "$build/out" --parallel "$jobs"
  cmake --install "$build/out" --strip
  rm -rf "$build"
  touch "$plot_prefix/.complete"
fi

# Only the installed folders are kept; the sources come again from Debian if ever needed.
rm -rf "$cache/src"
