#!/bin/sh
# Makes a fresh, headless Wine prefix for the tests and keeps its wineserver
# running until the tests end (wineserver -k).
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
[ -d "$prefix" ] && wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
# The null driver: windows without an X display. The session that booted the
# prefix still has none; wait for it to end before the tests start another.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null | grep -q null
