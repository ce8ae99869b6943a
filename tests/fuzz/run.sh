#!/usr/bin/env bash
# Runs a libFuzzer harness as a test:
#   tests/fuzz/run.sh HARNESS SEEDS RUNS
# for RUNS inputs grown from the seeds in SEEDS, each allowed 10 s. What it
# learns goes to a folder of its own, emptied each time, never to SEEDS; an
# input that fails is kept beside the harness and named in its output.
set -euo pipefail
harness=$1 seeds=$2 runs=$3
learnt="$harness-corpus"
rm -rf "$learnt"
mkdir "$learnt"
exec "$harness" -runs="$runs" -timeout=10 -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$harness-" "$learnt" "$seeds"
