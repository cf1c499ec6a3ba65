#!/usr/bin/env bash
# The real program under X: the credits roll over the picture, the fader
# window follows after about 3.5 s, and closing it ends the process.
#   startup_e2e.sh PROGRAM CLOSEWINDOW SCREENSHOT-DIR
# Runs itself under xvfb-run when no display is set.
set -euo pipefail
program=$1 closewindow=$2 shots=$3
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
mkdir -p "$shots"
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { date +%s%3N; }

started=$(now_ms)
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

visible() { { xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null || true; } | head -n1; }

credits=""
for _ in $(seq 200); do
    credits=$(visible '^Quorvex Aim Fader$')
    [[ -n "$credits" ]] && break
    sleep 0.05
done
[[ -n "$credits" ]] || fail "the credits window never appeared"
[[ -z "$(visible '^Quorvex AimFader$')" ]] || fail "the fader window came up with the credits"

# Part way through the roll: the heading and the names are in view.
sleep 1.6
eval "$(xdotool getwindowgeometry --shell "$credits")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/credits-roll.png"
[[ "$WIDTH" == 295 && "$HEIGHT" == 200 ]] || fail "credits window is ${WIDTH}x${HEIGHT}, not 295x200"
colours=$(convert "$shots/credits-roll.png" -format '%k' info:)
white=$(convert "$shots/credits-roll.png" -fill black +opaque white -fill white -opaque white -format '%[fx:round(mean*w*h)]' info:)
echo "screenshot: $colours colours, $white white pixels"
(( colours >= 40 )) || fail "only $colours colours: no rippling picture"
(( white >= 1500 )) || fail "only $white white pixels: the white heading panel is not in view"

fader=""
while [[ -z "$fader" ]]; do
    (( $(now_ms) - started < 60000 )) || fail "no fader window after 60 s"
    kill -0 "$pid" 2>/dev/null || fail "the program ended during the roll"
    fader=$(visible '^Quorvex AimFader$')
    [[ -n "$fader" ]] || sleep 0.02
done
handoff=$(( $(now_ms) - started ))
echo "fader window after $handoff ms"
(( handoff >= 3400 )) || fail "the roll took $handoff ms, under 221 ticks of 16 ms"
sleep 0.3
[[ -z "$(visible '^Quorvex Aim Fader$')" ]] || fail "the credits window is still up after the hand-off"
import -window root "$shots/after-handoff.png"

"$closewindow" "$fader"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the program still runs 5 s after its fader window was closed"
fi
wait "$pid" || fail "the program ended with status $?"
trap - EXIT
echo "closing the fader window ended the program"
