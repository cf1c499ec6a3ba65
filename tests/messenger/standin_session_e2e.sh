#!/usr/bin/env bash
# quorvex-fade --send and the window program's "Send IM" against stand-in Wine
# sessions found with no configuration (WINEPREFIX unset), in a process table
# of the test's own, Wine installed but never started (`wine` and its kin on
# PATH record any start):
# - a send that reaches no IM window exits 0 at once, creates nothing and,
#   asked, says why: with no running session (a prefix whose server has gone),
#   then with one whose helper serves no window;
# - while "Send IM" waits for a helper that takes 10 s to greet, the window
#   goes on working, and closing it ends the program at once and stops the helper.
#   standin_session_e2e.sh QUORVEX_FADE PROGRAM CLOSEWINDOW FAKEIMHELPER
set -euo pipefail
fade=$1 program=$2 closewindow=$3 fakehelper=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/modes" "$work/bin" "$work/tmp"
for wine in wine wine64 wineserver wineboot; do
  printf '#!/bin/sh\necho "$0" >>"%s"\n' "$work/started" >"$work/bin/$wine"
  chmod +x "$work/bin/$wine"
done
unset WINEPREFIX
export HOME=$work/home TMPDIR=$work/tmp PATH=$work/bin:$PATH QUORVEX_PROC_ROOT=$work/proc QUORVEX_IM_HELPER=$work/modes

# A prefix in Debian's layout, its server folder under TMPDIR, and a Wine
# process of ours in it (PID), whose loader is the stand-in helper; LOCK is
# its server's lock file.
session() { # PREFIX PID
  mkdir -p "$1" "$work/proc/$2"
  printf 'wine-%s' "$2" >"$1/wineserver"
  lock=$TMPDIR/wine-$2/$(printf 'server-%x-%x' "$(stat -c %d "$1")" "$(stat -c %i "$1")")/lock
  mkdir -p "${lock%/lock}"
  touch "$lock"
  ln -s "$work/bin/wine64" "$work/proc/$2/exe"
  printf 'WINEPREFIX=%s\0TMPDIR=%s\0WINELOADER=%s\0' "$1" "$TMPDIR" "$fakehelper" >"$work/proc/$2/environ"
}

# quorvex-fade --send ARGS on "hello": the fade within a second, exit status 0,
# SAID on standard error (the places tried for a lock vary with the machine).
sends() { # NAME SAID ARGS...
  local name=$1 said=$2 out
  shift 2
  out=$(printf hello | timeout 1 "$fade" --send "$@" 2>"$work/said") || fail "$name: exit status $?"
  [[ $out == "$(printf '<Font Color=#070080>%s' h e l l o)" ]] || fail "$name: faded [$out]"
  [[ $(sed 's/its lock (.*)$/its lock (…)/' "$work/said") == "$said" ]] || fail "$name: said [$(cat "$work/said")]"
  [[ ! -e $work/started ]] || fail "$name: started $(cat "$work/started")"
  [[ $(find "$HOME" "$TMPDIR" "$work/prefixes") == "$tree" ]] || fail "$name: the look-up created something"
}
session "$work/prefixes/old" 4242 # its server has gone and left its lock
running=$work/prefixes/running
# A server that runs with no process of ours in its prefix yet.
session "$running" 4343
mv "$work/proc/4343" "$work/4343"
coproc HOLD { exec "$fakehelper" lock "$lock"; } # holds it while its input stays open
read -r -t 5 -u "${HOLD[0]}" locked && [[ $locked == locked ]] || fail "the lock was not taken"
server=$HOLD_PID
tree=$(find "$HOME" "$TMPDIR" "$work/prefixes")
q=quorvex-fade
passed_over="$q: Wine prefix $HOME/.wine passed over: no such folder
$q: Wine prefix $work/prefixes/old passed over: no wineserver holds its lock (…)"
no_im="$q: no IM window: no top-level window of class \"AIM_IMessage\" (looked 10 times)
$q: text not set: no IM window
$q: not clicked: no IM window"
sends "no session" "$passed_over
$q: no running Wine session: no IM window can be open
$no_im" --verbose
sends "no session, not asked why" ""

mv "$work/4343" "$work/proc/4343"
echo empty >"$work/modes/running"
sends "a session with no IM window" "$passed_over
$q: Wine prefix $running: a session runs (wineserver $server); its helper starts with $fakehelper
$no_im" --verbose

echo slow >"$work/modes/running"
QUORVEX_FAKE_IM_DELAY_MS=10000 "$program" &
pid=$!
pids+=("$pid")
fader=$(timeout 60 xdotool search --sync --all --onlyvisible --pid "$pid" --name '^Quorvex AimFader$' | head -n1) ||
  fail "no fader window after 60 s"
sleep 0.3

xdotool mousemove --window "$fader" --sync 428 24 click 1   # "Send IM"
sleep 1
helper=$(pgrep -P "$pid" -f "$fakehelper") || fail "no helper started in the session"

# A "Fade" during the wait runs and paints as it would at any other time.
before=$(import -window "$fader" png:- | md5sum)
xdotool mousemove --window "$fader" --sync 216 24 click 1   # "Fade"
sleep 1
after=$(import -window "$fader" png:- | md5sum)
[[ "$before" != "$after" ]] || fail "the window did not fade during the wait: frozen"
kill -0 "$helper" 2>/dev/null || fail "the helper is gone before the window closed"

"$closewindow" "$fader"
timeout 1 tail -s 0.02 --pid="$pid" -f /dev/null || fail "the program still runs 1 s after its window was closed"
wait "$pid" || fail "the program ended with status $?"
kill -0 "$helper" 2>/dev/null && fail "the helper still runs"
[[ -z "$(ls -A "$work/home")" ]] || fail "something was made in HOME"
