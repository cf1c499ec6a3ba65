#!/usr/bin/env bash
# The real program under X: the credits ripple, the fader window follows after
# about 3.5 s, and closing it ends the process.
#   startup_e2e.sh PROGRAM CLOSEWINDOW
set -euo pipefail
program=$1 closewindow=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { date +%s%3N; }
visible() { { xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null || true; } | head -n1; }
await() {  # the program's first visible window titled $1
    local id=""
    while [[ -z "$id" ]]; do
        (( $(now_ms) - started < 60000 )) || fail "no window $1 after 60 s"
        kill -0 "$pid" 2>/dev/null || fail "the program ended before showing $1"
        id=$(visible "$1")
        [[ -n "$id" ]] || sleep 0.02
    done
    echo "$id"
}

shot=$(mktemp --suffix=.png)
started=$(now_ms)
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -f "$shot"' EXIT

credits=$(await '^Quorvex Aim Fader$')
sleep 1.6
import -window "$credits" "$shot"
colours=$(convert "$shot" -format '%k' info:)
echo "credits window: $colours colours"
(( colours >= 40 )) || fail "only $colours colours: no rippling picture"

fader=$(await '^Quorvex AimFader$')
handoff=$(( $(now_ms) - started ))
echo "fader window after $handoff ms"
(( handoff >= 3400 )) || fail "the roll took $handoff ms, under 221 ticks of 16 ms"
sleep 0.3
[[ -z "$(visible '^Quorvex Aim Fader$')" ]] || fail "the credits window is still up after the hand-off"

"$closewindow" "$fader"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "the program still runs 5 s after its fader window was closed"
wait "$pid" || fail "the program ended with status $?"
echo "closing the fader window ended the program"
