#!/usr/bin/env bash
# The Debian packages the Windows scripts need beside those of the Linux build.
# Usage: scripts/windows/packages.sh build|test
case ${1:-} in
  # The cross compiler, the installer maker, the icon's drawing tools.
  build) echo g++-mingw-w64-x86-64-posix nsis librsvg2-bin imagemagick dpkg-dev ;;
  # Wine with its fonts (Tahoma draws the Cyrillic of the dialogs), on a virtual display, and
  # the definition of the Russian locale.
  test) echo wine64 fonts-wine xvfb xauth locales ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac
