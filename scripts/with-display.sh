#!/usr/bin/env bash
# Runs a command with an X display: the caller's own, or a private Xvfb
# server (GUI tests and headless runs). The screen is large enough that the
# maximised window and half the screen cover every pane.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" "$@"
