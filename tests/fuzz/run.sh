#!/usr/bin/env bash
# Runs every libFuzzer harness of a fuzz build for a while from its seed
# corpus. New inputs and crashing inputs go to the findings folder, never
# into the source tree; a harness that finds a crash makes the run fail.
# Usage: run.sh BUILD_DIR FINDINGS_DIR SECONDS
set -uo pipefail

build_dir=$1
findings=$2
seconds=$3
corpus_root=$(cd "$(dirname "$0")" && pwd)/corpus

failed=()
for corpus in "$corpus_root"/*/; do
  name=$(basename "$corpus")
  out="$findings/$name"
  mkdir -p "$out/new" "$out/crashes"
  echo "== fuzz_$name for ${seconds}s"
  # The first folder receives new inputs; the seed folder is only read.
  "$build_dir/fuzz_$name" "$out/new" "$corpus" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$out/crashes/" -print_final_stats=1 >"$out/log.txt" 2>&1
  status=$?
  grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$out/log.txt" | tail -2
  if [ $status -ne 0 ]; then
    failed+=("$name")
    echo "fuzz_$name found a fault: $(ls "$out/crashes")  (log: $out/log.txt)"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Faults found by: ${failed[*]}"
  exit 1
fi
