#!/usr/bin/env bash
# Builds the program (installing what it needs) and runs it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default
sample=${1:-"Quorvex Aim Fader"}
echo "Fading \"$sample\" from red through green to blue:"
build/bin/quorvex-fade -1 '#FF0000' -2 '#00FF00' -3 '#0000FF' "$sample"
echo
