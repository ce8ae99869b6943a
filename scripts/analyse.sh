#!/usr/bin/env bash
# Static analysis of the program, its tests and its benchmarks: clang-tidy
# with the checks in .clang-tidy, and clazy, Qt's own linter, at its levels 0
# and 1. Any finding fails it. Both read the compile commands of the check
# build (preset check, as scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)} # a job for each core
cmake --preset check >/dev/null
# Both need the sources that the build generates (moc, resources).
cmake --build --preset check >/dev/null

# The build's own flags that clang does not know (GCC's link-time
# optimisation) are not findings.
quiet=(--extra-arg=-Wno-ignored-optimization-argument --extra-arg=-Wno-unknown-warning-option
  --extra-arg=-Wno-unused-command-line-argument)
mapfile -t sources < <(git ls-files -- '*.cpp')
jobs=$(nproc)

echo "analyse: clang-tidy over ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
  xargs -P "$jobs" -n 1 clang-tidy -p build/check --quiet "${quiet[@]}" \
    2> >(grep -v 'warnings\? generated\.$' >&2)
echo "analyse: clazy (levels 0 and 1) over ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
  xargs -P "$jobs" -n 1 clazy-standalone -p build/check --checks=level0,level1 \
    "${quiet[@]}" --extra-arg=-Werror
echo "analyse: no findings"
