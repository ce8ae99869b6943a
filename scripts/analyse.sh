#!/usr/bin/env bash
# Static analysis of the program, its tests and its benchmarks: clang-tidy
# with the checks in .clang-tidy, and clazy, Qt's own linter, at its levels 0
# and 1. Any finding fails it. Both read the compile commands of the check
# build (preset check, as scripts/test.sh builds it), and the fuzzers those
# of theirs (preset fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

# Every header of ours is one whose findings are shown: the header filter
# in .clang-tidy, which clazy is given too, names each folder that holds one.
filter=$(sed -n "s/^HeaderFilterRegex: '\(.*\)'$/\1/p" .clang-tidy)
[ -n "$filter" ] || { echo "analyse: no HeaderFilterRegex in .clang-tidy" >&2; exit 1; }
unread=()
while IFS= read -r header; do
  [[ $PWD/$header =~ $filter ]] || unread+=("$header")
done < <(git ls-files -- '*.h')
if [ ${#unread[@]} -gt 0 ]; then
  echo "analyse: .clang-tidy's HeaderFilterRegex leaves out these headers:" "${unread[@]}" >&2
  exit 1
fi

scripts/setup.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)} # a job for each core
cmake --preset check >/dev/null
# Both need the sources that the build generates (moc, resources).
cmake --build --preset check >/dev/null
cmake --preset fuzz >/dev/null

# The build's own flags that clang does not know (GCC's link-time
# optimisation) are not findings.
quiet=(--extra-arg=-Wno-ignored-optimization-argument --extra-arg=-Wno-unknown-warning-option
  --extra-arg=-Wno-unused-command-line-argument)
jobs=$(nproc)

# analyse BUILD FILES...: both tools over the files, as BUILD compiles them.
analyse() {
  local build=$1
  shift
  echo "analyse: clang-tidy over $# files of build/$build"
  printf '%s\n' "$@" |
    xargs -P "$jobs" -n 1 clang-tidy -p "build/$build" --quiet "${quiet[@]}" \
      2> >(grep -v 'warnings\? generated\.$' >&2)
  echo "analyse: clazy (levels 0 and 1) over $# files of build/$build"
  printf '%s\n' "$@" |
    xargs -P "$jobs" -n 1 clazy-standalone -p "build/$build" --checks=level0,level1 \
      --header-filter="$filter" \
      "${quiet[@]}" --extra-arg=-Werror
}
mapfile -t sources < <(git ls-files -- '*.cpp' ':!tests/fuzz')
analyse check "${sources[@]}"
mapfile -t fuzzers < <(git ls-files -- 'tests/fuzz/*.cpp')
analyse fuzz "${fuzzers[@]}"
echo "analyse: no findings"
