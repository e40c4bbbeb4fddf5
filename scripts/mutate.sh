#!/usr/bin/env bash
# Plants the faults of scripts/mutants.txt one at a time and tells which ones the test suite
# misses. The working tree is never touched: its tracked (and new, not ignored) files are copied
# to build-mutate/source, mirrored into build-mutate/tree, and only that copy is built and
# changed. Each fault is undone before the next is planted.
#
#   MUTATE_ONLY=id1,id2   plant only these faults
#   MUTATE_FULL=1         run the whole suite for every fault and name every test that fails
#   MUTATE_REV=<commit>   copy that commit instead of the working tree
#   MUTATE_LIST=<file>    another list of faults
#
# Exit status 1 when a fault was missed or did not build, or the suite fails with no fault.
set -uo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build-mutate
source_copy=$work/source
tree=$work/tree
build=$work/build
list=${MUTATE_LIST:-$root/scripts/mutants.txt}
full=${MUTATE_FULL:-0}
only=${MUTATE_ONLY:-}
# The end-to-end test takes longest; it runs only once the others have passed. The naming check
# judges names, not behaviour, and takes a minute; the package checks build, lint and install the
# package: neither runs here.
slow='^test_e2e'

# --- the copy -------------------------------------------------------------------------------
rm -rf "$source_copy"
mkdir -p "$source_copy" "$tree"
if [ -n "${MUTATE_REV:-}" ]; then
  git -C "$root" archive "$MUTATE_REV" | tar -x -C "$source_copy" || exit 1
else
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -f "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf -) | tar -xf - -C "$source_copy" || exit 1
fi
# Only files whose content differs are copied into the tree, with a fresh time stamp, so the
# build there stays incremental and never keeps an object built from an older planted fault.
(cd "$source_copy" && find . -type f -print0) | while IFS= read -r -d '' f; do
  cmp -s "$source_copy/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")" && cp "$source_copy/$f" "$tree/$f"; }
done
(cd "$tree" && find . -type f -print0) | while IFS= read -r -d '' f; do
  [ -e "$source_copy/$f" ] || rm -f "$tree/$f"
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARN_BENCH=OFF "${launcher[@]}" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }

build_tree() { cmake --build "$build" >"$work/build.log" 2>&1; }

# Runs ctest with the given selection; prints the names of the tests that failed.
failing_tests() {
  local failed=$build/Testing/Temporary/LastTestsFailed.log
  rm -f "$failed" "$build/Testing/Temporary/CTestCostData.txt" # keep the declared order
  local stop=(--stop-on-failure)
  [ "$full" = 1 ] && stop=()
  ctest --test-dir "$build" "${stop[@]}" "$@" >"$work/ctest.log" 2>&1
  [ -f "$failed" ] && cut -d: -f2- "$failed"
}

# Unit tests first, the end-to-end tests only when the unit tests caught nothing (or always,
# in the full mode).
catching_tests() {
  local caught
  caught=$(failing_tests -E "$slow|^naming$|^package")
  if [ -z "$caught" ] || [ "$full" = 1 ]; then
    caught+=$'\n'$(failing_tests -R "$slow")
  fi
  echo "$caught" | sed '/^$/d' | paste -sd ' ' -
}

echo "mutate: building the copy in $build"
build_tree || { echo "mutate: the copy does not build, see $work/build.log"; exit 1; }
saved_full=$full
full=1
broken=$(catching_tests)
full=$saved_full
if [ -n "$broken" ]; then
  echo "mutate: the suite fails with no fault planted: $broken"
  exit 1
fi

# --- the faults ------------------------------------------------------------------------------
# Prints the one file under src/ or sim/ that holds the text once; nothing otherwise.
locate() {
  local text=$1 hint=$2 files count
  files=$(cd "$tree" && grep -rlF --include='*.cpp' --include='*.h' -e "$text" src sim)
  count=$(cd "$tree" && grep -rhoF --include='*.cpp' --include='*.h' -e "$text" src sim | wc -l)
  if [ "$count" -ne 1 ] && [ "$hint" != - ]; then
    files=$(echo "$files" | grep -F -e "$hint")
    count=0
    [ -n "$files" ] && count=$(cd "$tree" && grep -hoF -e "$text" $files | wc -l)
  fi
  [ "$count" -eq 1 ] && echo "$files"
}

planted=0 caught=0 missed=() unbuilt=() inapplicable=()
declare -A catchers
while IFS=$'\t' read -r -u 3 id hint text replacement; do
  [[ -z "$id" || "$id" == \#* ]] && continue
  if [ -n "$only" ] && [[ ",$only," != *",$id,"* ]]; then
    continue
  fi
  start=$SECONDS
  file=$(locate "$text" "$hint")
  if [ -z "$file" ]; then
    inapplicable+=("$id")
    printf '%-34s %-16s\n' "$id" "not applicable"
    continue
  fi
  content=$(cat "$tree/$file"; printf x)
  content=${content%x}
  printf '%s' "${content/"$text"/"$replacement"}" >"$tree/$file"
  planted=$((planted + 1))
  if ! build_tree; then
    status="does not build"
    unbuilt+=("$id")
    tests=""
  else
    tests=$(catching_tests)
    if [ -n "$tests" ]; then
      status=caught
      caught=$((caught + 1))
      catchers[$id]=$tests
    else
      status=MISSED
      missed+=("$id")
    fi
  fi
  cp "$source_copy/$file" "$tree/$file"
  printf '%-34s %-16s %4ds  %s\n' "$id" "$status" $((SECONDS - start)) "$tests"
done 3<"$list"
# The tree is the copy again; leave its build matching it.
build_tree

if [ "$full" = 1 ]; then
  echo
  echo "Caught by one test only:"
  for id in "${!catchers[@]}"; do
    [[ "${catchers[$id]}" != *" "* ]] && printf '  %-34s %s\n' "$id" "${catchers[$id]}"
  done | sort
fi
[ ${#missed[@]} -gt 0 ] && echo "Missed: ${missed[*]}"
[ ${#unbuilt[@]} -gt 0 ] && echo "Do not build (fix the fault): ${unbuilt[*]}"
[ ${#inapplicable[@]} -gt 0 ] && echo "Not applicable (text not found once): ${inapplicable[*]}"
echo "mutate: $planted planted, $caught caught, ${#missed[@]} missed, ${#inapplicable[@]} not applicable" \
  "(${#unbuilt[@]} do not build)"
[ ${#missed[@]} -eq 0 ] && [ ${#unbuilt[@]} -eq 0 ]
