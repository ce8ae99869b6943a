#!/usr/bin/env bash
# Runs a libFuzzer harness as a test:
#   tests/fuzz/run.sh HARNESS SEEDS RUNS
# for RUNS inputs grown from the seeds in SEEDS, each allowed 10 s. What it
# learns goes to a folder it makes for itself beside the harness and deletes
# at the end, never to SEEDS; an input that fails is kept beside the harness
# and named in its output.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 HARNESS SEEDS RUNS" >&2; exit 2; }
harness=$1 seeds=$2 runs=$3
[ -f "$harness" ] && [ -x "$harness" ] || { echo "$0: no harness $harness" >&2; exit 2; }
[ -d "$seeds" ] || { echo "$0: no seeds in $seeds" >&2; exit 2; }
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "$0: RUNS must be a count, not $runs" >&2; exit 2; }
learnt=$(mktemp -d "$harness-corpus.XXXXXX")
trap 'rm -rf "$learnt"' EXIT
"$harness" -runs="$runs" -timeout=10 -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$harness-" "$learnt" "$seeds"
