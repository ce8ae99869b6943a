#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh          an optimised build, warnings as errors (preset check)
#                            then the fuzzers, a build of their own with clang
#                            (preset fuzz), each for a fixed number of inputs
#   scripts/test.sh asan     the same tests under AddressSanitizer and UBSan
# Each preset has its own build folder, so this and scripts/run.sh (preset
# release) never rebuild each other's work.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-check}

scripts/setup.sh
# A build job and a test for each core, unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
# Warnings are errors here (the presets say so), as in CI; not in a user's
# build (scripts/run.sh).
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
if [ "$preset" = check ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  ctest --preset fuzz
fi
