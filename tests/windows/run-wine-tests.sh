#!/usr/bin/env bash
# The Windows tests: the built programs and the installer under Wine, on an X
# display and in a Wine prefix of their own.
#   tests/windows/run-wine-tests.sh BUILD_WINDOWS_DIR
# BUILD_WINDOWS_DIR is what scripts/build-windows.sh made: portable/ and the
# installer. Screenshots and logs stay in BUILD_WINDOWS_DIR/wine-tests.
set -uo pipefail
out=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# The X display: the one with-xvfb.sh starts for this run.
[[ -n ${QUORVEX_WINE_TESTS_DISPLAY:-} ]] || QUORVEX_WINE_TESTS_DISPLAY=1 exec "$here/../ui/with-xvfb.sh" "$0" "$out"
root=$(cd "$here/../.." && pwd)
portable=$out/portable
work=$out/wine-tests
rm -rf "$work"
mkdir -p "$work"

failures=0
passes=0
pass() { echo "ok    $1"; passes=$((passes + 1)); }
fail() { echo "FAIL  $1${2:+: $2}"; failures=$((failures + 1)); }
expect() { # NAME ACTUAL EXPECTED
  if [[ "$2" == "$3" ]]; then pass "$1"; else fail "$1" "got [$2], want [$3]"; fi
}

# ------------------------------------------------------------------ the prefix
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
trap 'wineserver -k 2>/dev/null' EXIT

echo "Making a Wine prefix in $WINEPREFIX"
wineboot -i >"$work/wineboot.log" 2>&1
# Letters go missing unless "Arial" is a face Linux has.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
wineserver -w

cxx=x86_64-w64-mingw32-g++-posix
for program in "$root/tests/messenger/wine/aimtestwindow.cpp:aim-test-window" "$here/windowprobe.cpp:windowprobe"; do
  "$cxx" -std=c++20 -O2 -static "${program%%:*}" -o "$work/${program##*:}.exe" || exit 1
done

winpath() { winepath -w "$1" 2>/dev/null; }

# ------------------------------------------------------------------ quorvex-fade.exe
fade_exe=$portable/quorvex-fade.exe
fade() { # INPUT ARGS...: runs quorvex-fade.exe on INPUT (printf %b escapes); sets status, stdout_bytes, stderr_text
  local input=$1; shift
  printf '%b' "$input" | timeout 60 wine "$fade_exe" "$@" >"$work/out" 2>"$work/err"
  status=$?
  stdout_bytes=$(od -An -c "$work/out" | tr -s ' \n' ' ')
  stderr_text=$(cat "$work/err")
}
bytes() { printf '%b' "$1" | od -An -c | tr -s ' \n' ' '; } # the bytes of printf %b escapes

rgb=(-1 '#FF0000' -2 '#00FF00' -3 '#0000FF')
while IFS='|' read -r name input args want; do
  eval "arguments=($args)"
  fade "$input" "${arguments[@]}"
  expect "quorvex-fade.exe: $name" "$status $stdout_bytes" "0 $(bytes "$want")"
done <<'EOF'
plain fade|| "${rgb[@]}" abc|<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c
non-ASCII argument|| é😀|<Font Color=#070080>é<Font Color=#070080>😀
LF on standard input stays LF|a\nb\n||<Font Color=#070080>a<Font Color=#070080>\n<Font Color=#070080>b<Font Color=#070080>\n
CR LF on standard input stays CR LF|a\r\nb||<Font Color=#070080>a<Font Color=#070080>\r<Font Color=#070080>\n<Font Color=#070080>b
ten stops in OKLab as wavy XHTML|| --wavy --blend oklab --format html --colors '#FF0000,#FF8000,#FFFF00,#00FF00,#00FFFF,#0000FF,#8000FF,#FF00FF,#FF0080,#000000' 'Quorvex <&> Aim fader, ten stops'|<sup><span style="color:#ff3c00">Q</span></sup><span style="color:#ff5700">u</span><sub><span style="color:#ff6d00">o</span></sub><span style="color:#ff8000">r</span><sup><span style="color:#ffac00">v</span></sup><span style="color:#ffd600">e</span><sub><span style="color:#ffff00">x</span></sub><span style="color:#daff00"> </span><sup><span style="color:#b0ff00">&lt;</span></sup><span style="color:#7cff00">&amp;</span><sub><span style="color:#00ff00">&gt;</span></sub><span style="color:#00ff88"> </span><sup><span style="color:#00ffc7">A</span></sup><span style="color:#00ffff">i</span><sub><span style="color:#00d1ff">m</span></sub><span style="color:#00a0ff"> </span><sup><span style="color:#006aff">f</span></sup><span style="color:#0000ff">a</span><sub><span style="color:#3f10ff">d</span></sub><span style="color:#6210ff">e</span><sup><span style="color:#8000ff">r</span></sup><span style="color:#9e19ff">,</span><sub><span style="color:#be1fff"> </span></sub><span style="color:#de1bff">t</span><sup><span style="color:#ff00ff">e</span></sup><span style="color:#fe19d5">n</span><sub><span style="color:#ff18ab"> </span></sub><span style="color:#ff0080">s</span><sup><span style="color:#ae0055">t</span></sup><span style="color:#63002e">o</span><sub><span style="color:#22000b">p</span></sub><span style="color:#000000">s</span>
BBCode in OKLab from standard input|a\r\n<b😀|--format bbcode --blend oklab "${rgb[@]}"|[color=#E58700]a[/color][color=#B3C700]\r[/color][color=#00FF00]\n[/color][color=#00C8A0]<[/color][color=#0088D7]b[/color][color=#0000FF]😀[/color]
XHTML in OKLab from standard input|a\r\n<b😀|--format html --blend oklab "${rgb[@]}"|<span style="color:#e58700">a</span><br/><span style="color:#00c8a0">&lt;</span><span style="color:#0088d7">b</span><span style="color:#0000ff">😀</span>
EOF

while IFS='|' read -r name args says; do
  eval "arguments=($args)"
  fade "" "${arguments[@]}"
  expect "quorvex-fade.exe refuses $name (exit 2, message, no dialog)" \
    "$status ${stdout_bytes:+output} $([[ $stderr_text == *"$says"* ]] && echo said)" "2  said"
done <<'EOF'
a bad colour|-1 '#FF00' x|colour 1 '#FF00'
an unknown option|--bogus x|bogus
a preview it cannot write|--preview 'C:\no\such\folder\p.png' x|cannot write the preview
EOF

# No IM window is open yet: the send does nothing, exits 0 and, asked, says why.
fade "" --send --verbose x
expect "quorvex-fade.exe --send --verbose says why nothing was sent" \
  "$status $(tr -d '\r' <"$work/err" | tr '\n' '|')" \
  "0 quorvex-fade: no IM window: no top-level window of class \"AIM_IMessage\" (looked 10 times)|quorvex-fade: text not set: no IM window|quorvex-fade: not clicked: no IM window|"

# The preview draws real letters: "iii" and "WWW" differ in width, boxes would not.
blue_columns() { # PNG: how many columns hold a strongly blue pixel
  convert "$1" -fx 'b - max(r, g) > 0.4 ? 1 : 0' -scale "$(identify -format %w "$1")x1!" \
    -threshold 0 -format '%[fx:mean*w]' info:
}
for text in iii WWW; do
  fade "" -1 '#0000FF' -2 '#0000FF' -3 '#0000FF' --preview "$(winpath "$work/$text.png")" "$text"
  expect "quorvex-fade.exe --preview $text" "$status $(identify -format %wx%h "$work/$text.png" 2>/dev/null)" "0 313x25"
done
narrow=$(blue_columns "$work/iii.png") wide=$(blue_columns "$work/WWW.png")
if (( narrow > 0 && wide > 2 * narrow )); then pass "the preview draws real letters (iii: $narrow columns, WWW: $wide)"
else fail "the preview draws real letters" "iii: $narrow columns, WWW: $wide"; fi

# ------------------------------------------------------------------ version resources
resource_strings() { strings -el "$1" | tr '\n' '|'; }
[[ $(resource_strings "$portable/Quorvex Aim Fader.exe") == *"ProductName|Project1|FileVersion|1.00|"*"InternalName|Quorvex Aim Fader|OriginalFilename|Quorvex Aim Fader.exe|"* ]] &&
  pass "the window program's version resource" || fail "the window program's version resource"
setup_strings=$(resource_strings "$(ls "$out"/*setup*.exe)")
[[ $setup_strings == *"|ProductName|Quorvex Aim Fader|"* && $setup_strings == *"|ProductVersion|1.0.0|"* ]] &&
  pass "the installer's version information" || fail "the installer's version information"

# ------------------------------------------------------------------ the window program
probe() { timeout 90 wine "$work/windowprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
shot() { import -window root "$work/$1.png"; }
# Pixels of a screen rectangle that stand apart from COLOUR.
differing() { # PNG X Y W H COLOUR
  convert "$1" -crop "$4x$5+$2+$3" +repage -fuzz 35% -transparent "$6" -alpha extract -format '%[fx:mean*w*h]' info:
}
pixel() { convert "$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }

log=$work/aim.log
wine "$work/aim-test-window.exe" "$(winpath "$log")" &
wine "$portable/Quorvex Aim Fader.exe" >"$work/fader.out" 2>&1 &

credits=$(probe "Quorvex Aim Fader" 30)
[[ -n $credits ]] && pass "the credits window opens" || fail "the credits window opens"
sleep 1
shot credits
read -r _ left top width height _ cw ch _ cx cy _ topmost <<<"$(probe "Quorvex AimFader" 60)"
expect "\"Quorvex AimFader\" frame at (100, 100), client 7290 x 2685 twips, topmost" \
  "${left:-none} ${top:-} client ${cw:-} ${ch:-} topmost ${topmost:-}" "100 100 client 486 179 topmost 1"
echo "      frame ${width:-?} x ${height:-?} pixels"
# Shown is not yet painted: wait for the white face of "Fade".
for _ in $(seq 40); do
  shot fader
  [[ -n ${cx:-} && $(pixel "$work/fader.png" $((cx + 168 + 48)) $((cy + 8 + 4))) == FFFFFF ]] && break
  sleep 0.5
done
if [[ -n ${cx:-} ]]; then
  # Places in pixels within the client area (twips / 15).
  for button in "Fade Wavy:272:8:97:33" "Send IM:376:8:105:33"; do
    IFS=: read -r caption bx by bw bh <<<"$button"
    x=$((cx + bx)) y=$((cy + by))
    face=$(pixel "$work/fader.png" $((x + 6)) $((y + 6)))
    letters=$(differing "$work/fader.png" $((x + 6)) $((y + 6)) $((bw - 12)) $((bh - 12)) "#$face")
    if (( letters > 30 )); then pass "\"$caption\" reads on its #$face face ($letters caption pixels)"
    else fail "\"$caption\" reads on its #$face face" "$letters caption pixels"; fi
  done
  px=$((cx + 168)) py=$((cy + 144))
  expect "the preview starts blank" "$(differing "$work/fader.png" $px $py 313 25 white)" 0

  # The focus starts on "Send IM": the space bar presses it.
  # No window manager here: give the window the X focus Windows would give it.
  xdotool search --name '^Quorvex AimFader$' windowfocus --sync >/dev/null 2>&1
  xdotool key space
  for _ in $(seq 50); do grep -q '^up' "$log" 2>/dev/null && break; sleep 0.2; done
  expect "\"Send IM\" by the space bar delivers \"html code\" CR LF and the click" "$(od -An -c "$log" | tr -s ' \n' ' ')" \
    "$(bytes 'ready\nsettext QuorvexTestMessageBox\nhtml code\r\n\ndown _Oscar_IconBtn\nup _Oscar_IconBtn\n')"
  [[ ! -e $portable/quorvex-im-helper.exe ]] && pass "\"Send IM\" runs in-process (no helper shipped)" ||
    fail "\"Send IM\" runs in-process" "a helper is shipped"

  xdotool mousemove $((cx + 168 + 48)) $((cy + 8 + 16)) click 1
  sleep 2
  shot faded
  drawn=$(differing "$work/faded.png" $px $py 313 25 white)
  if (( drawn > 50 )); then pass "\"Fade\" paints the preview ($drawn pixels)"; else fail "\"Fade\" paints the preview" "$drawn pixels"; fi
fi
wineserver -k 2>/dev/null
sleep 1

# At 150 % display scaling the place scales as the size does.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wine "$portable/Quorvex Aim Fader.exe" >/dev/null 2>&1 &
read -r _ left top _ _ _ cw ch _ <<<"$(probe "Quorvex AimFader" 60)"
expect "at 150 % the frame is at (150, 150), client 7290 x 2685 twips" \
  "${left:-none} ${top:-} client ${cw:-} ${ch:-}" "150 150 client 729 269"
wineserver -k 2>/dev/null
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
wineserver -w

# ------------------------------------------------------------------ the installer
setup=$(ls "$out"/*setup*.exe)
target='C:\Quorvex Test'
installed=$WINEPREFIX/drive_c/Quorvex\ Test
# As typed at a Windows prompt: /D= comes last and unquoted, spaces and all.
timeout 120 wine cmd /c "$(winpath "$setup") /S /D=$target"
for _ in $(seq 60); do [[ -e $installed/Uninstall.exe ]] && break; sleep 0.5; done
missing=$(for file in "Quorvex Aim Fader.exe" quorvex-fade.exe Qt6Widgets.dll platforms/qwindows.dll Uninstall.exe; do
  [[ -f $installed/$file ]] || printf '%s, ' "$file"; done)
expect "the installer installs silently into the chosen folder" "${missing:-all there}" "all there"
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Quorvex Aim Fader.lnk' | head -n1)
[[ -n $shortcut ]] && pass "a Start-menu entry" || fail "a Start-menu entry"
fade_exe=$installed/quorvex-fade.exe fade "" "${rgb[@]}" abc
expect "the installed quorvex-fade.exe fades" "$status $stdout_bytes" \
  "0 $(bytes '<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c')"
wine "$target\Quorvex Aim Fader.exe" >/dev/null 2>&1 &
[[ -n $(probe "Quorvex AimFader" 60) ]] && pass "the installed program starts" || fail "the installed program starts"
wineserver -k 2>/dev/null
sleep 1
timeout 120 wine "$target\Uninstall.exe" /S
# The uninstaller runs on from a copy of itself.
for _ in $(seq 120); do [[ -e $installed || -n $(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Quorvex Aim Fader.lnk') ]] || break; sleep 0.5; done
[[ ! -e $installed ]] && pass "the uninstaller removes the program" || fail "the uninstaller removes the program" "$(ls "$installed")"
[[ -z $(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Quorvex Aim Fader.lnk') ]] &&
  pass "the uninstaller removes the Start-menu entry" || fail "the uninstaller removes the Start-menu entry"

echo "Screenshots in $work"
# The closing count in the plain form CI reads: "windows: N passed, N failed".
echo "windows: $passes passed, $failures failed"
exit $(( failures > 0 ))
