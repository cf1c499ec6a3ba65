#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. Xvfb picks the display
# number itself (-displayfd), so runs in parallel never race for one. There is
# no session bus: with none named, Qt's D-Bus would autolaunch one through
# dbus-x11 where that is installed, write ~/.dbus into the test's HOME and leave
# the bus running. A test that needs a bus starts one of its own.
set -euo pipefail
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export DBUS_SESSION_BUS_ADDRESS=disabled:
"$@"
