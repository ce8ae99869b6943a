#!/usr/bin/env bash
# Runs each test program given, one after the other; fails if any fails.
#   tests/each.sh TEST_PROGRAM...
set -uo pipefail
status=0
for program in "$@"; do
  "$program" || status=1
done
exit $status
