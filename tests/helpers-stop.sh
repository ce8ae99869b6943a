#!/usr/bin/env bash
# tests/helpers.sh stops its helpers whatever they do: one that ends when
# asked is not killed, and one that ignores the request is killed after the
# grace period, and named.
set -euo pipefail
. "$(dirname "$0")/helpers.sh"
helper_grace=1
log=$(mktemp)
errors=$(mktemp)
trap 'stop_helpers; rm -f "$log" "$errors"' EXIT

start /dev/null sleep 60
start "$log" bash -c 'trap "" TERM; echo ignoring; while :; do sleep 0.1; done'
stubborn=$started
ready_within 5 "$stubborn" grep -q ignoring "$log"
begun=$SECONDS
stop_helpers 2>"$errors"
took=$((SECONDS - begun))
said=$(cat "$errors")

fail() { echo "helpers-stop.sh: $1" >&2; exit 1; }
kill -0 "$stubborn" 2>/dev/null && fail "the helper that ignores TERM is still running"
[ "$took" -le 4 ] || fail "stopping took $took s with a grace of 1 s"
[[ $said == *"bash (process $stubborn) did not end within 1 s of being asked; killed"* ]] ||
  fail "not said which helper was killed: '$said'"
[[ $said != *sleep* ]] || fail "a helper that ended when asked was said to be killed: '$said'"
echo "helpers-stop.sh: a stubborn helper was killed after 1 s, and named"
