#!/usr/bin/env bash
# Installs what is missing, builds the release build, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
program=build/release/window/phone-fortune
if [ ! -x "$program" ]; then
  echo "run: the engine is built; the window is not there yet." >&2
  exit 1
fi
exec "$program" "$@"
