#!/usr/bin/env bash
# The real program under X, used as a user would: the credits ripple, the
# fader window follows after about 3.5 s, stands on top at its place and fades
# what is typed (pixels of the screen), and closing it ends the process.
#   startup_e2e.sh PROGRAM CLOSEWINDOW
set -euo pipefail
program=$1 closewindow=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { date +%s%3N; }
await() {  # the program's first visible window titled $1
    local id
    until id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -n1); [[ -n $id ]]; do
        (( $(now_ms) - started < 60000 )) || fail "no window $1 after 60 s"
        kill -0 "$pid" 2>/dev/null || fail "the program ended before showing $1"
        sleep 0.02
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
(( colours >= 40 )) || fail "only $colours colours: no rippling picture"

fader=$(await '^Quorvex AimFader$')
handoff=$(( $(now_ms) - started ))
(( handoff >= 3400 )) || fail "the roll took $handoff ms, under 221 ticks of 16 ms"

# No window manager: the client area is the whole window, at (100, 100).
eval "$(xdotool getwindowgeometry --shell "$fader")"
[[ "$X $Y $WIDTH $HEIGHT" == "100 100 486 179" ]] || fail "the fader window is at $X,$Y, ${WIDTH}x$HEIGHT"
xprop -id "$fader" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the fader window is not on top"
# Screen points: Text1, red1, blue3, "Fade".
xdotool windowfocus --sync "$fader"
xdotool mousemove --sync 400 157 click 1 key --clearmodifiers ctrl+a type --delay 30 "Hello AIM, fading!"
xdotool mousemove --sync 140 116 click 1 key End mousemove --sync 140 260 click 1 key End
xdotool mousemove --sync 316 124 click 1
inked() { # X Y W H CONDITION: pixels of the screen's rectangle where CONDITION holds
    convert "$shot" -crop "$3x$4+$1+$2" +repage -fx "$5 ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}
red='r > 0.59 && g < 0.24 && b < 0.35' blue='b > 0.67 && r < 0.24 && g < 0.24'
for _ in $(seq 40); do  # until the preview (268, 244, 313 x 25) has painted
    sleep 0.25
    import -window root "$shot"
    (( $(inked 268 244 313 25 "$red") > 10 && $(inked 268 244 313 25 "$blue") > 10 )) && break
done
# Red at the start of the line and blue at its end, twice as far as "Text Here" would reach.
(( $(inked 268 244 20 25 "$red") > 0 )) || fail "no red at the start of the preview"
(( $(inked 359 244 222 25 "$blue") > 0 )) || fail "no blue past the first 90 columns of the preview"

"$closewindow" "$fader"
timeout 5 tail --pid="$pid" -f /dev/null || fail "the program still runs 5 s after its fader window was closed"
wait "$pid" || fail "the program ended with status $?"
