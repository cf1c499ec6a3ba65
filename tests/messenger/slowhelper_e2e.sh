#!/usr/bin/env bash
# The window program while "Send IM" waits for a helper that takes 10 s to
# greet, in a stand-in Wine session found with no configuration (WINEPREFIX
# unset): the window goes on working, and closing it ends the program at once
# and stops the helper.
#   slowhelper_e2e.sh PROGRAM CLOSEWINDOW FAKEIMHELPER HOLDLOCK
set -euo pipefail
program=$1 closewindow=$2 fakehelper=$3 holdlock=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { date +%s%3N; }

work=$(mktemp -d)
pids=()
trap 'exec 5>&-; for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

# The session: a prefix in Debian's layout whose "wineserver" holds its lock,
# and one Wine process in it, whose loader is the stand-in helper.
prefix=$work/prefix
mkdir -p "$prefix" "$work/home" "$work/modes" "$work/proc/4242"
printf 'wine-Slow00' >"$prefix/wineserver"
folder=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
mkdir -p "$work/tmp/wine-Slow00/$folder"
mkfifo "$work/hold"
"$holdlock" "$work/tmp/wine-Slow00/$folder/lock" <"$work/hold" >"$work/locked" &
pids+=($!)
exec 5>"$work/hold"  # the lock is held while this stays open
for _ in $(seq 100); do [[ -s "$work/locked" ]] && break; sleep 0.05; done
[[ -s "$work/locked" ]] || fail "the lock was not taken"
ln -s /usr/lib/wine/wine64 "$work/proc/4242/exe"
printf 'WINEPREFIX=%s\0TMPDIR=%s\0WINELOADER=%s\0' "$prefix" "$work/tmp" "$fakehelper" >"$work/proc/4242/environ"
echo slow >"$work/modes/prefix"

env -u WINEPREFIX HOME="$work/home" QUORVEX_PROC_ROOT="$work/proc" QUORVEX_IM_HELPER="$work/modes" \
    QUORVEX_FAKE_IM_DELAY_MS=10000 QUORVEX_FAKE_IM_LOG="$work/helper.log" "$program" &
pid=$!
pids+=("$pid")
started=$(now_ms)
fader=""
while [[ -z "$fader" ]]; do
    (( $(now_ms) - started < 60000 )) || fail "no fader window after 60 s"
    fader=$({ xdotool search --all --onlyvisible --pid "$pid" --name '^Quorvex AimFader$' 2>/dev/null || true; } | head -n1)
    [[ -n "$fader" ]] || sleep 0.05
done
sleep 0.3

xdotool mousemove --window "$fader" --sync 428 24 click 1   # "Send IM"
sleep 1
helper=$(pgrep -P "$pid" -f "$fakehelper" || true)
[[ -n "$helper" ]] || fail "no helper started in the session"

# A "Fade" during the wait runs and paints as it would at any other time.
before=$(import -window "$fader" png:- | md5sum)
xdotool mousemove --window "$fader" --sync 216 24 click 1   # "Fade"
sleep 1
after=$(import -window "$fader" png:- | md5sum)
[[ "$before" != "$after" ]] || fail "the window did not fade during the wait: frozen"
kill -0 "$helper" 2>/dev/null || fail "the helper is gone before the window closed"

closed=$(now_ms)
"$closewindow" "$fader"
while kill -0 "$pid" 2>/dev/null; do
    (( $(now_ms) - closed < 5000 )) || fail "the program still runs 5 s after its window was closed"
    sleep 0.02
done
ended=$(( $(now_ms) - closed ))
wait "$pid" || fail "the program ended with status $?"
(( ended < 1000 )) || fail "the program took $ended ms to end"
echo "closing the window during the wait ended the program after $ended ms"
kill -0 "$helper" 2>/dev/null && fail "the helper still runs"
[[ -z "$(ls -A "$work/home")" ]] || fail "something was made in HOME"
