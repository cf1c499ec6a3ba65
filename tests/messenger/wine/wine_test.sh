#!/usr/bin/env bash
# quorvex-fade --send and the window program's "Send IM" through Wine's own
# user32 into the stand-in IM window, in a fresh headless prefix (the null
# graphics driver) whose ANSI code page is Windows-1252. Runs on a display of
# its own (with-xvfb.sh), which only the window program gets.
#   wine_test.sh PREFIX IM_HELPER_EXE AIM_TEST_WINDOW_EXE QUORVEX_FADE QUORVEX_AIM_FADER
set -uo pipefail
prefix=$1 helper=$2 aimwindow=$3 fade=$4 fader=$5
work=$(mktemp -d)
display=$DISPLAY
# Other users of this machine may run Wine sessions of their own; the programs
# under test see only the stand-in window in a process table of their own.
export WINEPREFIX=$prefix WINEDEBUG=-all LANG=C.UTF-8 QUORVEX_PROC_ROOT=$work/proc
unset LC_ALL DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
wait_for() { for _ in $(seq 600); do "$@" && return 0; sleep 0.05; done; return 1; } # up to 30 s

[[ -d $prefix ]] && wineserver -k 2>/dev/null
rm -rf "$prefix"
mkdir -p "$prefix" "$work/proc"
wineboot -i >/dev/null 2>&1
# The session that booted the prefix has no null driver yet: it ends before
# the tests start another, whose wineserver stays until the end.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null | grep -q null ||
  { echo "FAIL: the prefix has no null driver"; exit 1; }

# Runs the stand-in IM window, then COMMAND once it stands; the window ends by
# itself after the click. Its log must hold the text (the file EXPECTED), then the click.
text_then_click() { # NAME EXPECTED COMMAND...
  local name=$1 expected=$2 log=$work/aim.log
  shift 2
  rm -f "$log"
  wine "$aimwindow" "Z:${log//\//\\}" &
  local window=$!
  wait_for test -s "$log" || fail "$name: the stand-in IM window did not start"
  ln -s "/proc/$window" "$work/proc/$window"
  "$@"
  wait_for eval '! kill -0 '$window' 2>/dev/null' || fail "$name: the stand-in IM window got no click"
  kill $window 2>/dev/null # so that the next one's is the only IM window
  local before='ready\nsettext QuorvexTestMessageBox\n' after='\ndown _Oscar_IconBtn\nup _Oscar_IconBtn\n'
  cat <(printf "$before") "$expected" <(printf "$after") | cmp -s - "$log" ||
    fail "$name: $(wc -c <"$log") bytes: $(head -c 300 "$log")"
}

# The longest fade, 32,767 characters, red on all three stops, into a session
# found with no WINEPREFIX (HOME elsewhere): é and € become Windows-1252 E9 and
# 80, ☺ is not there: "?".
printf 'é€☺x%.0s' $(seq 8191) >"$work/text"
printf 'é€☺' >>"$work/text"
red='<Font Color=#FF0000>'
printf "$red\\xe9$red\\x80$red?${red}x%.0s" $(seq 8191) >"$work/fade"
printf "$red\\xe9$red\\x80$red?" >>"$work/fade"
fade_send() {
  env -u WINEPREFIX HOME="$work/home" QUORVEX_IM_HELPER="$helper" timeout 120 "$fade" --send \
    -1 '#FF0000' -2 '#FF0000' -3 '#FF0000' <"$work/text" >/dev/null || fail "quorvex-fade --send exited with $?"
}
text_then_click "the longest fade" "$work/fade" fade_send
[[ ! -e $work/home ]] || fail "something was made in HOME"

# The window program, with the prefix named and the helper found beside it:
# "Send IM" sends the box, and the program goes on.
DISPLAY=$display "$fader" 2>"$work/fader.err" &
program=$!
press_send_im() { # the credits come first
  local id
  id=$(DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --name '^Quorvex AimFader$' | head -n1)
  DISPLAY=$display xdotool mousemove --window "$id" --sync 428 24 click 1 || fail "no fader window"
}
printf 'html code\r\n' >"$work/box"
text_then_click "Send IM" "$work/box" press_send_im
kill -0 $program 2>/dev/null || fail "the window program ended: $(cat "$work/fader.err")"
kill $program 2>/dev/null
wait $program 2>/dev/null
echo "wine: $failures failed"
exit $((failures > 0))
