#!/usr/bin/env bash
# Runs a command on the current X display under a window manager, so that
# windows get the title bar and border the platform would give them.
set -euo pipefail
wm=
stop() { [[ -z "$wm" ]] || { kill "$wm"; wait "$wm"; } 2>/dev/null || true; wm=; }
trap stop EXIT
# On a busy machine openbox now and then fails to open a display that has just
# come up; it is given three tries.
for _ in 1 2 3; do
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break 2
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  stop
  sleep 0.5
done
[[ -n "$wm" ]] || { echo "openbox did not start" >&2; exit 1; }
"$@"
