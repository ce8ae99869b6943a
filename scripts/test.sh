#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh          the release build (the one the README names)
#   scripts/test.sh asan     the same tests under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}

scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
