#!/usr/bin/env bash
# Runs every benchmark program of a release build; medians of 5 repetitions.
set -euo pipefail
build="${1:-build/release}"
status=0
for b in "$build"/bench/*_bench; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || status=1
done
exit $status
