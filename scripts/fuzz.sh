#!/usr/bin/env bash
# Runs each fuzz target for a bounded time over its seed corpus.
set -euo pipefail
build="${1:-build/fuzz}"
seconds="${FUZZ_SECONDS:-600}"
top="$(cd "$(dirname "$0")/.." && pwd)"
for f in "$build"/fuzz/*_fuzz; do
  [ -f "$f" ] && [ -x "$f" ] || continue
  name="$(basename "$f")"
  corpus="$top/fuzz/corpus/${name%_fuzz}"
  work="$build/fuzz/work-${name}"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  "$f" -max_total_time="$seconds" -max_len=65536 "$work" "$corpus"
done
