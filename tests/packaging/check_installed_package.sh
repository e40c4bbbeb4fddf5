#!/usr/bin/env bash
# Installs the package that check_package.sh built, as a user would, and runs the installed tool
# against the installed simulator with a scratch home: the first start writes its configuration
# under that home and nothing into /usr/bin; with COM1 mapped to the simulator it talks to it.
# The first start, mapping nothing, runs where every serial device is /dev/null. The package is
# removed again whatever happens.
# Usage: check_installed_package.sh BUILD_FOLDER VERSION
set -euo pipefail

build=$1 version=$2
skip=77
deb=$build/package-check/zarn-tool_${version}_$(dpkg --print-architecture 2>/dev/null || echo none).deb

if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is missing (not a Debian system?), so there is no package to install"
  exit $skip
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing the package needs root; these tests run as $(id -un)"
  exit $skip
fi
# The first start opens COM1, /dev/ttyS0 by default, and would write frames to it: on many a
# machine that is the console. It runs in a mount namespace of its own in which each device that
# COM1-COM16 lead to by default (/dev/ttyS*, ttyUSB*, ttyACM*) is /dev/null; the suite's fence
# (ZARN_TEST_DEVICE_ROOT), which would end the tool there, stands aside for it.
nowhere=(unshare --mount --propagation private sh -c '
  for device in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    [ ! -e "$device" ] || mount --bind /dev/null "$device" || exit 1
  done
  exec env -u ZARN_TEST_DEVICE_ROOT "$@"' sh)
if ! "${nowhere[@]}" true; then
  echo "SKIPPED: no private mount namespace here, so the first start would reach the serial ports"
  exit $skip
fi
if dpkg-query -W -f='${Status}' zarn-tool 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIPPED: zarn-tool is installed on this machine already; this check would replace it"
  exit $skip
fi
[ -f "$deb" ] || { echo "FAIL: no $deb (the test 'package' builds it)"; exit 1; }

work=$(mktemp -d)
sim_pid="" tool_pid=""
apt_quiet=(-y -qq -o DPkg::Lock::Timeout=300)
# Runs on every exit; nothing in it may stop it before the purge (a program that ended already
# makes kill fail), and a failed purge fails the check.
finish() {
  local status=$?
  set +e
  [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null
  if ! DEBIAN_FRONTEND=noninteractive apt-get purge "${apt_quiet[@]}" zarn-tool >/dev/null; then
    echo "FAIL: the package could not be removed"
    status=1
  fi
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT

DEBIAN_FRONTEND=noninteractive apt-get install "${apt_quiet[@]}" --no-install-recommends "$deb" \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; echo "FAIL: apt-get could not install it"; exit 1; }
echo "installed $(dpkg-query -W -f='${Package} ${Version}' zarn-tool)"
usr_bin_before=$(ls -A /usr/bin)

home=$work/home
mkdir -p "$home"
user_env=(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$work"
  QT_QPA_PLATFORM=offscreen)
config=$home/.config/zarn-tool/тп.ini

# Waits up to 20 s for a condition given as a command; false when it never held.
await() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# First start: no configuration yet. The file is written before the port is opened (COM1, here
# /dev/null, which is no terminal); then the tool is ended.
"${nowhere[@]}" "${user_env[@]}" /usr/bin/zarn-tool >"$work/first.log" 2>&1 &
tool_pid=$!
first_start=$'[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n'
written() { [ "$(cat "$config" 2>/dev/null; echo .)" = "$first_start." ]; }
if ! await written; then
  cat "$work/first.log"
  echo "FAIL: the first start did not write $config as expected; it holds:"
  cat -A "$config" 2>/dev/null || echo "(no file)"
  exit 1
fi
kill "$tool_pid"
wait "$tool_pid" 2>/dev/null || true
tool_pid=""
echo "first start wrote $config"

# Second start with COM1 mapped to the installed simulator: answers come back.
/usr/bin/zarn-sim --link "$work/ttyZARN" >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
await test -e "$work/ttyZARN" || { cat "$work/sim.log"; echo "FAIL: the simulator did not start"; exit 1; }
printf '[Ports]\r\nCOM1=%s\r\n' "$work/ttyZARN" >>"$config"
"${user_env[@]}" /usr/bin/zarn-tool --traffic-log "$work/traffic.csv" >"$work/second.log" 2>&1 &
tool_pid=$!
answered() { grep -q ';<;.*;ОК;' "$work/traffic.csv" 2>/dev/null; }
await answered || {
  cat "$work/second.log" "$work/traffic.csv" 2>/dev/null
  echo "FAIL: the installed tool got no answer from the simulator"
  exit 1
}
echo "the installed tool talks to the simulator: $(grep -c ';ОК;' "$work/traffic.csv") answers"

usr_bin_after=$(ls -A /usr/bin)
if [ "$usr_bin_after" != "$usr_bin_before" ]; then
  echo "FAIL: /usr/bin changed while the tool ran:"
  diff <(echo "$usr_bin_before") <(echo "$usr_bin_after") || true
  exit 1
fi
echo "nothing written into /usr/bin"
