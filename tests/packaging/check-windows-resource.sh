#!/usr/bin/env bash
# Compiles the version and icon resources with the MinGW resource compiler and
# reads back what they hold.
set -euo pipefail
rc=$1 icon_rc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
windres() { x86_64-w64-mingw32-windres "$@"; }
windres -I "$(dirname "$rc")" -i "$rc" -O rc > "$work/version.rc"
windres -i "$icon_rc" -O rc > "$work/icon.rc"
for want in 'BLOCK "040904B0"' 'VALUE "ProductName", "Project1"' 'VALUE "FileVersion", "1.00"' \
            'VALUE "ProductVersion", "1.00"' 'VALUE "InternalName", "Quorvex Aim Fader"' \
            'VALUE "OriginalFilename", "Quorvex Aim Fader.exe"' 'VALUE "Translation", 0x409, 1200'; do
    grep -qF -- "$want" "$work/version.rc" || { echo "missing from the version resource: $want"; exit 1; }
done
icons=$(grep -c 'RT_ICON' "$work/icon.rc" || true)
[[ $icons -eq 6 ]] || { echo "the icon resource holds $icons icons, not 6"; exit 1; }
