#!/usr/bin/env bash
# make windows-test: the Windows tool under Wine against zarn-sim. Wine runs on a virtual X
# display in a prefix of its own, whose COM1 is the simulator's pseudo-terminal and whose COM2 to
# COM16 lead to nothing: Wine maps COM numbers to the machine's /dev/ttyS* at each start of its
# server, and ttyS0 may be the machine's console, so every number the tool can probe is mapped
# through the prefix's registry first and checked before the tool starts.
# The check runs from the packed folder, as a user unpacks it; screenshots go to docs/guide.
# Usage: scripts/windows/test.sh [LINUX_BUILD] [WINDOWS_BUILD]   (default build, build-win)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
linux_build=$(cd "${1:-$root/build}" && pwd)
windows_build=$(cd "${2:-$root/build-win}" && pwd)
"$root/scripts/install-deps.sh" $("$root/scripts/windows/packages.sh" test)
cmake --build "$windows_build" --target windows_package zarn-wine-check

wine=/usr/lib/wine/wine64
work=$(mktemp -d "${TMPDIR:-/tmp}/zarn-wine.XXXXXX")
sim_pid="" display_pid=""
mkdir -p "$work/locale"
finish() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
windows_path() { echo "Z:${1//\//\\}"; }
step() { echo "== $*"; }

# A display of our own, whichever number is free.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
read -r -t 10 display_number <&"$display_fd"
export DISPLAY=:$display_number WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A Russian Windows: Wine takes the system's locale from the environment. The locale is made for
# this run alone, so the machine's own locales stay as they are.
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8"
unset LC_ALL LANGUAGE
export LOCPATH=$work/locale LANG=ru_RU.UTF-8

step "Wine prefix in $WINEPREFIX"
clock_start=$(date +%s)
"$wine" wineboot --init >/dev/null 2>&1
# Tahoma draws the Cyrillic of the dialogs, Marlett the buttons of the window frames.
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
"$wine" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null
# A desktop of Wine's own, which draws the windows' frames as Windows does.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null

# Every number the tool accepts (1 to 255) is mapped: the machine's own ports move past them.
link=$work/ttyZARN
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
  printf '"COM1"="%s"\r\n' "$link"
  for n in $(seq 2 255); do printf '"COM%s"="%s"\r\n' "$n" "$work/no-device"; done
} >"$work/ports.reg"
"$wine" regedit /S "$(windows_path "$work/ports.reg")"
/usr/lib/wine/wineserver -k
/usr/lib/wine/wineserver -w
"$wine" cmd /c exit >/dev/null 2>&1 # the server starts again and maps the ports anew
for n in $(seq 1 255); do
  target=$(readlink "$WINEPREFIX/dosdevices/com$n" || true)
  expected=$work/no-device
  [ "$n" -eq 1 ] && expected=$link
  if [ "$target" != "$expected" ]; then
    echo "COM$n leads to '$target', not '$expected': stopped before the tool could reach it" >&2
    exit 1
  fi
done
echo "prefix ready in $(( $(date +%s) - clock_start )) s"

# A fresh simulator, and so a fresh pseudo-terminal, for each program: the pty keeps the line
# settings of the program before, and the kernel refuses a change that only switches parity on
# (a pty has no parity), so a second program's SetCommState would fail where no port would.
start_sim() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  "$linux_build/bin/zarn-sim" --link "$link" --eeprom-file "$work/eeprom.bin" >>"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -L "$link" ] && return; sleep 0.1; done
  echo "zarn-sim did not start" >&2
  exit 1
}

# The packed folder, unpacked as a user would; the check runs among the tool's own DLLs.
name=$(basename "$windows_build"/zarn-tool-*-win64.zip .zip)
(cd "$work" && LC_ALL=C.UTF-8 cmake -E tar xf "$windows_build/$name.zip")
tool=$work/$name
cp "$windows_build/bin/zarn-wine-check.exe" "$tool/"
mkdir -p "$work/session" "$work/shots"

step "the tool under Wine"
start_sim
status=0
"$wine" "$tool/zarn-wine-check.exe" "$(windows_path "$work/session")" \
  "$(windows_path "$work/eeprom.bin")" "$(windows_path "$work/shots")" \
  >"$work/check.log" 2>"$work/check.err" || status=$?
cat "$work/check.log"
cp "$work"/shots/*.png "$root/docs/guide/" 2>/dev/null || true

step "the batch mode: zarn-tool.exe --batch read"
printf '[PC config]\r\nCOM=1\r\n' >"$tool/тп.ini"
start_sim
batch_status=0
"$wine" "$tool/zarn-tool.exe" --batch read "$(windows_path "$work/batch.ini")" \
  >"$work/batch.out" 2>"$work/batch.err" || batch_status=$?
values=$(grep -c -E '^[^;[].*=.+' "$work/batch.ini" 2>/dev/null || true)
echo "exit $batch_status, $values values"
[ "$batch_status" -eq 0 ] && [ "$values" -eq 506 ] || status=1

step "CPU of zarn-tool.exe polling, over 20 s"
start_sim
"$wine" "$tool/zarn-tool.exe" >/dev/null 2>&1 &
tool_pid=$!
sleep 5
cpu_ticks() { # PROCESS NAME: its user and system clock ticks so far
  local pid
  pid=$(pgrep -x "$1" | head -n 1)
  [ -n "$pid" ] && awk '{ print $14 + $15 }' "/proc/$pid/stat" || echo 0
}
tool_before=$(cpu_ticks zarn-tool.exe) server_before=$(cpu_ticks wineserver)
sleep 20
tool_after=$(cpu_ticks zarn-tool.exe) server_after=$(cpu_ticks wineserver)
kill "$tool_pid" 2>/dev/null
wait "$tool_pid" 2>/dev/null || true
hz=$(getconf CLK_TCK)
LC_ALL=C awk -v t=$((tool_after - tool_before)) -v s=$((server_after - server_before)) -v hz="$hz" \
  'BEGIN { printf "figure cpu_percent %.1f (wineserver %.1f)\n", t / hz / 20 * 100, s / hz / 20 * 100 }'
[ "$tool_after" -gt 0 ] || { echo "zarn-tool.exe did not run" >&2; status=1; }

step "the installer: install, run, uninstall (silent)"
installed="$WINEPREFIX/drive_c/Program Files/zarn-tool"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ЗАРН — сервисная программа.lnk"
"$wine" "$windows_build/${name%-win64}-setup.exe" /S
installed_whole=no
[ -f "$installed/zarn-tool.exe" ] && [ -f "$installed/Uninstall.exe" ] && [ -f "$entry" ] &&
  installed_whole=yes
# An installed tool keeps its configuration in the user's application data, not beside itself
# (COM200 leads nowhere in this prefix).
"$wine" "$installed/zarn-tool.exe" --batch read 'C:\p.ini' --port 200 >/dev/null 2>&1 || true
config_folder=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/zarn-tool' -type d)
config_beside=$(ls "$installed" | grep -c '\.ini$' || true)
"$wine" "$installed/Uninstall.exe" /S
sleep 3 # the uninstaller runs on from a copy of itself
if [ "$installed_whole" = yes ] && [ -n "$config_folder" ] && [ "$config_beside" -eq 0 ] &&
  [ ! -e "$installed" ] && [ ! -e "$entry" ]; then
  echo "installed with its menu entry, configured in AppData\\Local\\zarn-tool, uninstalled whole"
else
  echo "installer: installed whole=$installed_whole, configuration in '$config_folder'," \
    "left behind: $(ls "$installed" 2>/dev/null | tr '\n' ' ')" >&2
  status=1
fi

if [ "$status" -ne 0 ]; then
  echo "Wine check FAILED; the tool's error output:" >&2
  cat "$work/check.err" "$work/batch.err" >&2
  exit 1
fi
echo "Wine check passed"
