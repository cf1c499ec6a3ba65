#!/usr/bin/env bash
# Builds the program (installing what it needs) and opens the fader window.
# Without a display it says so and fades a sample with quorvex-fade instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec build/bin/quorvex-aim-fader
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open."
echo "Running the sample quorvex-fade instead."
sample=${1:-"Quorvex Aim Fader"}
echo "Fading \"$sample\" from red through green to blue:"
build/bin/quorvex-fade -1 '#FF0000' -2 '#00FF00' -3 '#0000FF' "$sample"
echo
