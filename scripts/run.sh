#!/usr/bin/env bash
# Starts the editor in a working folder that holds the sample model and the
# demo archive at the path the texture picker expects.
set -euo pipefail
build="${1:-build/release}"
top="$(cd "$(dirname "$0")/.." && pwd)"
work="$top/build/workdir"
mkdir -p "$work/d/gamedata/resource" "$work/c"
cp "$top/data/dflt.3do" "$work/dflt.3do"
if [ -f "$build/data/res2.gob" ]; then
  # Sparse: the archive's palette lies 55 MB in, after a hole.
  cp --sparse=always "$build/data/res2.gob" "$work/d/gamedata/resource/res2.gob"
fi
if [ -f "$build/data/bottle1.mat" ]; then
  cp "$build/data/bottle1.mat" "$work/c/bottle1.mat"
fi
cd "$work"
if [ -n "${DISPLAY:-}" ]; then
  exec "$top/$build/app/facetor"
fi
echo "run: no DISPLAY, starting the editor on a private X server" >&2
exec bash "$top/scripts/with-display.sh" "$top/$build/app/facetor"
