#!/usr/bin/env bash
# Compiles the version resource with the MinGW resource compiler and reads back
# what it holds.
set -euo pipefail
rc=$1
icon_rc=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

x86_64-w64-mingw32-windres -I "$(dirname "$rc")" -i "$rc" -O coff -o "$work/version.o"
x86_64-w64-mingw32-windres -I "$(dirname "$rc")" -i "$rc" -O res -o "$work/version.res"
x86_64-w64-mingw32-windres -i "$work/version.res" -J res -O rc > "$work/readback.rc"

status=0
expect() {
    grep -qF -- "$1" "$work/readback.rc" || { echo "missing from the compiled resource: $1"; status=1; }
}
expect 'BLOCK "040904B0"'
expect 'VALUE "ProductName", "Project1"'
expect 'VALUE "FileVersion", "1.00"'
expect 'VALUE "ProductVersion", "1.00"'
expect 'VALUE "InternalName", "Quorvex Aim Fader"'
expect 'VALUE "OriginalFilename", "Quorvex Aim Fader.exe"'
expect 'VALUE "Translation", 0x409, 1200'
# String values of a VERSIONINFO are stored as UTF-16LE.
if ! grep -qaP 'P\x00r\x00o\x00j\x00e\x00c\x00t\x001\x00' "$work/version.res"; then
    echo "ProductName is not stored as UTF-16"; status=1
fi
# The icon resource, with the icon drawn from the artwork.
if [[ -n "$icon_rc" ]]; then
    x86_64-w64-mingw32-windres -i "$icon_rc" -O res -o "$work/icon.res" || { echo "the icon resource does not compile"; status=1; }
    x86_64-w64-mingw32-windres -i "$work/icon.res" -J res -O rc > "$work/icon.readback.rc"
    grep -q 'RT_GROUP_ICON' "$work/icon.readback.rc" || { echo "no icon group in the compiled icon resource"; status=1; }
    [[ $(grep -c 'RT_ICON' "$work/icon.readback.rc") -eq 6 ]] || { echo "the icon resource lacks sizes"; status=1; }
fi
[[ $status -eq 0 ]] && echo "version resource compiles and holds the string table 040904B0"
exit $status
