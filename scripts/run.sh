#!/usr/bin/env bash
# Installs what building and running the program needs and is missing,
# builds the program alone (release build), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)} # a job for each core
cmake --preset release >/dev/null
cmake --build --preset release --target phone-fortune
exec build/release/app/phone-fortune "$@"
