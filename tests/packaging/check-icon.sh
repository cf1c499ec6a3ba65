#!/usr/bin/env bash
# The icon drawn at build time: a square RGBA PNG at every size, and an ICO
# holding them all.
set -euo pipefail
dir=$1 id=$2
status=0
for size in 16 32 48 64 128 256; do
    info=$(file -b "$dir/$id-$size.png")
    [[ "$info" == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] || { echo "$id-$size.png: $info"; status=1; }
done
info=$(file -b "$dir/$id.ico")
[[ "$info" == "MS Windows icon resource - 6 icons"* ]] || { echo "$id.ico: $info"; status=1; }
[[ $status -eq 0 ]] && echo "icons at 16 to 256 pixels and the ICO are in place"
exit $status
