#!/usr/bin/env bash
# Builds the Debian package from the build for use and checks what a user would get: the file
# name, the files it installs, the libraries it depends on, the desktop entry, the AppStream
# metadata, lintian's verdict, and manual pages that name every option the tool accepts.
# Usage: check_package.sh BUILD_FOLDER SOURCE_FOLDER VERSION
# Leaves the package in BUILD_FOLDER/package-check for the install check.
set -euo pipefail

build=$1 source=$2 version=$3
skip=77

if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is missing (not a Debian system?), so no Debian package can be built"
  exit $skip
fi
for tool in cpack file lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; make deps installs it"; exit 1; }
done

# The AppStream ID, which names the desktop file and the metadata.
app_id=ru.zarn.tool
out=$build/package-check
rm -rf "$out"
mkdir -p "$out"
problems=0
problem() { echo "FAIL: $*"; problems=$((problems + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "FAIL: cpack could not build the package"; exit 1; }
deb=$out/zarn-tool_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; echo "FAIL: no $deb"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# The files it installs, exactly; folders aside.
expected=$(
  {
    printf '%s\n' /usr/bin/zarn-tool /usr/bin/zarn-sim \
      "/usr/share/applications/$app_id.desktop" \
      /usr/share/icons/hicolor/scalable/apps/zarn-tool.svg \
      "/usr/share/metainfo/$app_id.metainfo.xml" \
      /usr/share/man/man1/zarn-tool.1.gz /usr/share/man/man1/zarn-sim.1.gz \
      /usr/share/doc/zarn-tool/copyright /usr/share/doc/zarn-tool/changelog.gz \
      /usr/share/doc/zarn-tool/руководство.md
    (cd "$source/docs" && find guide -type f -printf '/usr/share/doc/zarn-tool/%p\n')
  } | sort
)
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort)
if [ "$actual" != "$expected" ]; then
  problem "the package's files differ from those expected (< expected, > in the package):"
  diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' || true
fi

# dpkg-shlibdeps found the Qt libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6serialport6 libc6; do
  [[ $depends == *"$library"* ]] || problem "Depends does not name $library"
done

root=$out/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
  problem "desktop-file-validate rejects the desktop entry"

# Errors and warnings fail; notes (I:, P:) are printed. AppStream cannot tell that a Cyrillic
# summary starts with a capital letter, so it notes that it does not.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
appstream=$(appstreamcli validate --no-net "$metainfo" 2>&1 || true)
echo "appstreamcli (errors, E:, and warnings, W:, fail this check):"
echo "$appstream"
grep -q '^[EW]:' <<<"$appstream" && problem "appstreamcli reports errors or warnings"
grep -qF "<id>$app_id</id>" "$metainfo" && grep -qF ">$app_id.desktop</launchable>" "$metainfo" ||
  problem "the metadata's ID or launchable is not $app_id"
# Wayland desktops match the tool's windows to the menu entry by the name the tool gives
# (QGuiApplication::setDesktopFileName, a UTF-16 literal in the program).
utf16=$(sed 's/\./\\./g; s/[^\\]/&\\x00/g' <<<"$app_id")
LC_ALL=C grep -qaP "$utf16" "$root/usr/bin/zarn-tool" ||
  problem "zarn-tool does not name its desktop file $app_id"

# Every picture the guide shows is installed beside it.
while IFS= read -r picture; do
  [ -f "$root/usr/share/doc/zarn-tool/$picture" ] || problem "the guide shows $picture, not installed"
done < <(grep -oE '\]\((guide/[^)]+\.png)\)' "$root/usr/share/doc/zarn-tool/руководство.md" |
  sed -E 's/^\]\((.*)\)$/\1/')

# Lintian's errors fail; its warnings are printed.
lint=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "lintian:"
echo "${lint:-  (nothing to report)}"
grep -q '^E:' <<<"$lint" && problem "lintian reports errors"

# --version and --help name the project's version, also where there is no display, and each
# program's manual page names each option of its --help.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
shown_version=$("${no_display[@]}" "$root/usr/bin/zarn-tool" --version 2>&1) || true
[ "$shown_version" = "zarn-tool $version" ] || problem "--version prints \"$shown_version\""
help=$("${no_display[@]}" "$root/usr/bin/zarn-tool" --help 2>&1) || true
grep -q "версия $version" <<<"$help" || problem "--help does not name version $version: $help"
for program in zarn-tool zarn-sim; do
  help=$("${no_display[@]}" "$root/usr/bin/$program" --help 2>&1) || true
  page=$(zcat "$root/usr/share/man/man1/$program.1.gz")
  for option in $(grep -oE '^ +(-[a-zA-Z], )?--[a-z-]+' <<<"$help" | grep -oE '\-\-[a-z-]+'); do
    grep -qF -- "${option//-/\\-}" <<<"$page" || problem "the manual page of $program omits $option"
  done
done

[ "$problems" -eq 0 ] || { echo "$problems problem(s)"; exit 1; }
echo "package checks passed"
