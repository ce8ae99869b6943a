#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh          the release build (the one the README names)
#   scripts/test.sh asan     the same tests under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}

scripts/setup.sh
# Warnings are errors here, as in CI; not in a user's build (scripts/run.sh).
cmake --preset "$preset" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
