#!/usr/bin/env bash
# Runs a command in a D-Bus session of its own with the accessibility bus up,
# its own HOME, and Qt's AT-SPI bridge switched on for the xcb platform: Qt's
# accessibility events then flow in-process, and reach no one else's desktop.
# Meant to run inside with-xvfb.sh.
set -euo pipefail
if [[ -z "${QUORVEX_OWN_SESSION_BUS:-}" ]]; then
  export QUORVEX_OWN_SESSION_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
export HOME="$work" XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
/usr/libexec/at-spi-bus-launcher >"$work/launcher.log" 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true; wait "$launcher" 2>/dev/null || true; rm -rf "$work"' EXIT
bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
for _ in $(seq 100); do
  bus_up && break
  kill -0 "$launcher" 2>/dev/null || break
  sleep 0.1
done
bus_up || { echo "the accessibility bus did not come up" >&2; cat "$work/launcher.log" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
