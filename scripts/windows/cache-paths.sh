# Sourced by the Windows scripts: where the build for Windows keeps what it builds once.
# ZARN_WINDOWS_CACHE moves the cache; it lives outside every build tree, so `make clean` and a
# fresh clone keep it.
windows_cache=${ZARN_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarn-tool-windows}
# The host Qt supplies moc, rcc and uic to the build for Windows, so both are the same version.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/^[0-9]*://; s/[-+~].*//')
qt_windows=$windows_cache/qt-$qt_version-win64
qcustomplot_windows=$windows_cache/qcustomplot-win64
