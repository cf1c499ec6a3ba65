#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. Xvfb picks the display
# number itself (-displayfd), so runs in parallel never race for one. With
# --wm, openbox runs there too: windows get the title bar and border the
# platform would give them.
#   with-xvfb.sh [--wm] COMMAND...
set -euo pipefail
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill ${wm:-} "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
if [[ $1 == --wm ]]; then
  shift
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm" 2>/dev/null || { echo "openbox did not start" >&2; exit 1; }
    sleep 0.1
  done
fi
"$@"
