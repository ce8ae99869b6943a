#!/usr/bin/env bash
# Says in one line which release, Qt and GCC this system builds with (once
# scripts/setup.sh has installed them).
set -euo pipefail
. /etc/os-release
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
printf '%s, Qt %s, GCC %s\n' "$PRETTY_NAME" "${qt%%[+-]*}" "$(gcc -dumpfullversion)"
