#!/usr/bin/env bash
# Runs atspi_check.py against the window program on an accessibility stack of
# the test's own: a private D-Bus session with AT-SPI's bus launcher, its own
# HOME and runtime folder, Qt's accessibility switched on. Needs an X display
# (with-xvfb.sh) and a window manager (with-window-manager.sh).
#   atspi_e2e.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/home" "$work/runtime"
cat >"$work/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work/runtime</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" GSETTINGS_BACKEND=memory
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
# Debian's own Python, where python3-gi and the Atspi typelib are installed.
dbus-run-session --config-file="$work/session.conf" -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 & launcher=$!
  "$1" & program=$!
  status=0
  /usr/bin/python3 "$2" || status=$?
  kill "$program" "$launcher" 2>/dev/null || true
  wait
  exit "$status"' _ "$program" "$here/atspi_check.py"
