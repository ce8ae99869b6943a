#!/usr/bin/env bash
# Installs what is missing, builds the release build, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/window/phone-fortune "$@"
