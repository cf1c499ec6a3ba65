#!/usr/bin/env bash
# Runs a command on the current X display under a window manager, so that
# windows get the title bar and border the platform would give them.
set -euo pipefail
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  kill -0 "$wm" 2>/dev/null || { echo "openbox did not start" >&2; exit 1; }
  sleep 0.1
done
"$@"
