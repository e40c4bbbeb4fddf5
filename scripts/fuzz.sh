#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for a fixed time, FUZZ_SECONDS (default 60). Each run starts from a scratch copy of
# the committed seeds, so the corpus in the repository never grows by itself. Prints the
# executions per target and fails when any target crashed, leaked, hung or broke an invariant;
# logs and the inputs that failed are kept in build-fuzz/fuzz-results/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_receive_path fuzz_answers fuzz_files)
declare -A max_len=([fuzz_receive_path]=4096 [fuzz_answers]=128 [fuzz_files]=8192)

"$root/scripts/install-deps.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DZARN_FUZZ=ON -DZARN_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target "${targets[@]}"

# The file target flushes every save to disk; in memory that costs nothing.
scratch_parent=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_parent=/dev/shm
scratch=$(mktemp -d "$scratch_parent/zarn-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

results=$build/fuzz-results
rm -rf "$results"
failed=0
summary=()
for target in "${targets[@]}"; do
  work=$scratch/$target
  mkdir -p "$work/tmp" "$results/$target"
  cp -r "$root/tests/fuzz/corpus/$target" "$work/corpus"
  dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  echo "== $target: $seconds s"
  status=0
  TMPDIR=$work/tmp UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/bin/$target" "$work/corpus" "${dict[@]}" \
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$results/$target/" \
    >"$results/$target/log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$results/$target/log" |
         tail -n 1)
  [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\)[[:space:]]*DONE.*/\1/p' "$results/$target/log" |
                           tail -n 1)
  artifacts=$(find "$results/$target" -maxdepth 1 -type f ! -name log | sort)
  if [ "$status" -ne 0 ] || [ -n "$artifacts" ]; then
    failed=1
    summary+=("$(printf '%-22s %12s executions  FAILED (exit %s)' "$target" "${runs:-?}" "$status")")
    grep -E -m 5 'ERROR: |invariant broken|runtime error|SUMMARY' "$results/$target/log" || true
    for artifact in $artifacts; do
      echo "   input: $artifact"
    done
  else
    summary+=("$(printf '%-22s %12s executions  ok' "$target" "${runs:-?}")")
  fi
done

echo
echo "Fuzzing, $seconds s per target:"
printf '  %s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "Failures: logs and inputs in $results" >&2
  exit 1
fi
