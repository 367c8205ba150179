#!/usr/bin/env bash
# Runs a command with an X display: the caller's own, or private Xvfb
# servers (GUI tests and headless runs). The screen is large enough that the
# maximised window and half the screen cover every pane.
#
# FACETOR_DISPLAY_COUNT=N (default 1) starts N private servers, so that N GUI
# tests can run side by side; their names are passed on in
# FACETOR_TEST_DISPLAYS, and each GUI test takes one that no other test holds
# (tests/gui/gui_main.cpp). On the caller's own display they take turns.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
screen=(-screen 0 1920x1080x24 +extension GLX +render -noreset)
count="${FACETOR_DISPLAY_COUNT:-1}"
if [ "$count" -le 1 ]; then
  exec xvfb-run -a -s "${screen[*]}" "$@"
fi

dir="$(mktemp -d)"
pids=()
stop() {
  if [ ${#pids[@]} -gt 0 ]; then
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap stop EXIT
displays=()
for ((i = 0; i < count; i++)); do
  # The server picks a free display number and writes it once it is ready.
  Xvfb -displayfd 3 -nolisten tcp "${screen[@]}" 3>"$dir/$i" 2>"$dir/$i.log" &
  pids+=($!)
done
for ((i = 0; i < count; i++)); do
  for ((tries = 0; tries < 200; tries++)); do
    if grep -q '^[0-9]' "$dir/$i" 2>/dev/null; then
      break
    fi
    sleep 0.05
  done
  number="$(head -n 1 "$dir/$i")"
  if [ -z "$number" ]; then
    echo "with-display: Xvfb did not start" >&2
    cat "$dir/$i.log" >&2
    exit 1
  fi
  displays+=(":$number")
done
export DISPLAY="${displays[0]}"
export FACETOR_TEST_DISPLAYS="${displays[*]}"
status=0
"$@" || status=$?
exit "$status"
