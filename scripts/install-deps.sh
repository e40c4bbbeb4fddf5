#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, and only those missing.
# Usage: scripts/install-deps.sh [PACKAGE...]   (further packages, as the benchmarks need)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl1-mesa-dev libqcustomplot-dev
  qt6-qpa-plugins qt6-translations-l10n xvfb xauth imagemagick poppler-utils
  clang clang-tidy libclang-rt-14-dev libbenchmark-dev
  dpkg-dev file lintian desktop-file-utils appstream
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
