#!/usr/bin/env bash
# Builds the libFuzzer targets with clang twice and runs each (FUZZ_TARGETS, default all three)
# for a fixed time, FUZZ_SECONDS (default 60):
# - the volume build (build-fuzz-volume) fuzzes, with UndefinedBehaviorSanitizer and the targets'
#   own invariant checks but without AddressSanitizer, which takes a third of each input's time;
#   FUZZ_JOBS processes at once (libFuzzer -jobs, sharing one corpus; default: one per core);
# - the check build (build-fuzz, AddressSanitizer and UndefinedBehaviorSanitizer) then runs again
#   every input the volume run kept (its grown corpus: each input that reached something new) and
#   every input that failed, so a memory fault the volume run passed over without a crash still
#   fails the run. The committed corpora are replayed in both kinds of build by `make test`.
# Each run starts from a scratch copy of the committed seeds, so the corpus in the repository
# never grows by itself. Prints the executions per target (all jobs together) and fails when any
# target crashed, leaked, hung or broke an invariant in either build; logs (one per job) and the
# inputs that failed are kept in build-fuzz/fuzz-results/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
check_build=${FUZZ_BUILD:-$root/build-fuzz}
volume_build=${FUZZ_VOLUME_BUILD:-$root/build-fuzz-volume}
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-$(nproc)}
read -r -a targets <<<"${FUZZ_TARGETS:-fuzz_receive_path fuzz_answers fuzz_files}"
# The receive path's deepest seeds (a whole read-all and write-all answered frame by frame, a
# poll answer fed byte by byte) take 400 to 523 bytes; 1024 leaves room to go on from there.
declare -A max_len=([fuzz_receive_path]=1024 [fuzz_answers]=128 [fuzz_files]=8192)

"$root/scripts/install-deps.sh"

for build in "$check_build:ON" "$volume_build:OFF"; do
  CC=clang CXX=clang++ cmake -S "$root" -B "${build%:*}" -G Ninja -DZARN_FUZZ=ON -DZARN_BENCH=OFF \
    -DZARN_FUZZ_ADDRESS="${build##*:}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "${build%:*}" --target "${targets[@]}"
done

# The file target flushes every save to disk; in memory that costs nothing.
scratch_parent=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_parent=/dev/shm
scratch=$(mktemp -d "$scratch_parent/zarn-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The executions of a target's jobs together: each job's final statistics, else (a job that
# failed prints none) its last status line.
executions() {
  local total=0 log runs
  for log in "$@"; do
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\)[[:space:]].*/\1/p' "$log" | tail -n 1)
    total=$((total + ${runs:-0}))
  done
  echo "$total"
}

results=$check_build/fuzz-results
rm -rf "$results"
failed=0
summary=()
for target in "${targets[@]}"; do
  work=$scratch/$target
  out=$results/$target
  mkdir -p "$work/tmp" "$out"
  cp -r "$root/tests/fuzz/corpus/$target" "$work/corpus"
  dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  # Independent processes on one corpus, each taking up what the others found: unlike -fork, no
  # process is restarted, so none of the time goes to loading the corpus again, and every
  # execution is counted.
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
  echo "== $target: $seconds s, $jobs job(s)"
  status=0
  (cd "$out" && TMPDIR=$work/tmp UBSAN_OPTIONS=print_stacktrace=1 \
    "$volume_build/bin/$target" "$work/corpus" "${dict[@]}" "${parallel[@]}" \
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$out/" >"$out/log" 2>&1) || status=$?
  # With -jobs each process logs to fuzz-<job>.log, and their exit codes only to the log.
  job_logs=("$out/log")
  if [ "$jobs" -gt 1 ]; then
    job_logs=("$out"/fuzz-*.log)
    grep -q -E 'exited with exit code [1-9]' "$out/log" && status=1
  fi
  runs=$(executions "${job_logs[@]}")

  # Everything kept and everything that failed, once more with AddressSanitizer.
  kept=$(find "$work/corpus" -type f | wc -l)
  replay=0
  TMPDIR=$work/tmp UBSAN_OPTIONS=print_stacktrace=1 \
    "$check_build/bin/$target" "$work/corpus" -runs=0 -timeout=25 \
    -artifact_prefix="$out/replay-" >"$out/replay.log" 2>&1 || replay=$?
  artifacts=$(find "$out" -maxdepth 1 -type f ! -name '*log' | sort)
  for artifact in $artifacts; do
    "$check_build/bin/$target" "$artifact" >"$artifact.replay.log" 2>&1 || true
  done

  if [ "$status" -ne 0 ] || [ "$replay" -ne 0 ] || [ -n "$artifacts" ]; then
    failed=1
    summary+=("$(printf '%-22s %12s executions  FAILED (exit %s, replay of %s kept inputs: exit %s)' \
      "$target" "$runs" "$status" "$kept" "$replay")")
    grep -h -E -m 5 'ERROR: |invariant broken|runtime error|SUMMARY' "${job_logs[@]}" "$out/replay.log" ||
      true
    for artifact in $artifacts; do
      echo "   input: $artifact (with AddressSanitizer: $artifact.replay.log)"
    done
  else
    summary+=("$(printf '%-22s %12s executions  ok, %s kept inputs clean with AddressSanitizer' \
      "$target" "$runs" "$kept")")
  fi
done

echo
echo "Fuzzing, $seconds s per target, $jobs job(s):"
printf '  %s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "Failures: logs and inputs in $results" >&2
  exit 1
fi
