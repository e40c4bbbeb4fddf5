#!/usr/bin/env bash
# Starts the controller simulator on a pseudo-terminal and the service tool connected to it.
# Usage: scripts/demo.sh BUILD_FOLDER   (make demo passes "build")
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
sim="$build/bin/zarn-sim"
tool="$build/bin/zarn-tool"
demo="$build/demo"
link="$demo/ttyZARN"
headless_seconds=5

for program in "$sim" "$tool"; do
  if [ ! -x "$program" ]; then
    echo "demo: $program is missing; build first (make build)" >&2
    exit 1
  fi
done

mkdir -p "$demo"
# The tool reads its configuration beside itself, so it runs from a copy in the demo folder.
cp "$tool" "$demo/zarn-tool"
printf '[PC config]\r\nCOM=1\r\n\r\n[Ports]\r\nCOM1=%s\r\n' "$link" > "$demo/тп.ini"

sim_log="$demo/zarn-sim.log"
sim_out="$demo/zarn-sim.out"
sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  sim_pid=""
}
trap stop_sim EXIT
trap 'exit 130' INT TERM

"$sim" --link "$link" --eeprom-file "$demo/eeprom.bin" --verbose >"$sim_out" 2>"$sim_log" &
sim_pid=$!

for _ in $(seq 50); do
  [ -s "$sim_out" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "demo: the simulator did not start:" >&2
    cat "$sim_log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$sim_out" ]; then
  echo "demo: the simulator printed no line path within 5 s" >&2
  exit 1
fi
echo "demo: simulated controller (slave address 7) on $(head -n 1 "$sim_out"), linked as $link"
echo "demo: configuration $demo/тп.ini maps COM1 to it; frames are logged in $sim_log"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: starting the tool; close its main window to end the demo"
  status=0
  (cd "$demo" && ./zarn-tool) || status=$?
  exit "$status"
fi

cat <<TEXT
demo: no display here (neither DISPLAY nor WAYLAND_DISPLAY is set). To see the windows, run
        xvfb-run -a -s "-screen 0 1600x1000x24" make demo
      on this machine, or "make demo" on a desktop.
demo: meanwhile the tool runs headless for $headless_seconds s to show that the link works.
TEXT
status=0
(cd "$demo" && QT_QPA_PLATFORM=offscreen timeout "$headless_seconds" ./zarn-tool) || status=$?
case "$status" in
  124) ;; # still running when the time was up: as it should be
  0) echo "demo: the tool ended by itself before the time was up" ;;
  *) echo "demo: the tool ended with status $status" ;;
esac

answers=$(grep -c '^tx ' "$sim_log" || true)
requests=$(grep -c '^rx ' "$sim_log" || true)
if [ "$answers" -gt 0 ]; then
  echo "demo: link works: the simulator received $requests requests and answered $answers"
else
  echo "demo: the simulator answered no request (received $requests); see $sim_log" >&2
  exit 1
fi
