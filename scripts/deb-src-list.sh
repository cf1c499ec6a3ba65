#!/usr/bin/env bash
# Writes into FOLDER the source-package entries matching the machine's own apt
# configuration: every "deb" entry of its one-line lists and deb822 .sources
# files, as "deb-src" for the same URIs, suites, components and options. A mirror
# or proxy the user set up is used as it is; the machine's files are only read.
#   scripts/deb-src-list.sh FOLDER   ->  FOLDER/sources.list, FOLDER/parts/*.sources
set -euo pipefail
out=${1:?usage: $0 FOLDER}
mkdir -p "$out/parts"
: >"$out/sources.list"
rm -f "$out"/parts/*

eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"

one_line() {  # "deb [options] uri suite components" -> the same as deb-src
  sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' "$1"
}
deb822() {  # stanzas whose Types name deb get Types: deb-src; others are left out
  awk 'BEGIN { RS = ""; ORS = "\n\n" }
    {
      n = split($0, line, "\n"); keep = 0; text = ""
      for (i = 1; i <= n; i++) {
        if (line[i] ~ /^Types:/) {
          if (line[i] ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1
          line[i] = "Types: deb-src"
        }
        text = text line[i] "\n"
      }
      if (keep) printf "%s\n", text
    }' "$1"
}

[[ -f ${list:-} ]] && one_line "$list" >>"$out/sources.list"
if [[ -d ${parts:-} ]]; then
  for f in "$parts"/*.list; do [[ -f $f ]] && one_line "$f" >>"$out/sources.list"; done
  for f in "$parts"/*.sources; do
    [[ -f $f ]] && deb822 "$f" >"$out/parts/$(basename "$f")"
  done
fi
if ! grep -qs . "$out/sources.list" "$out"/parts/*.sources; then
  echo "$0: the machine's apt configuration ($list, $parts) lists no deb entries" >&2
  exit 1
fi
