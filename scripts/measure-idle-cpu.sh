#!/usr/bin/env bash
# Prints the CPU the window program uses during the credits roll and while it
# sits idle after the hand-off to the fader window, and how often its threads
# were woken to run meanwhile, under a virtual X server (with no session bus).
#   scripts/measure-idle-cpu.sh [PROGRAM] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/bin/quorvex-aim-fader}
seconds=${2:-10}
if [[ -z "${DISPLAY:-}" ]]; then
    DBUS_SESSION_BUS_ADDRESS=disabled: exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" "$seconds"
fi
ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Times any thread of the process was put on a CPU (schedstat's third field).
runs() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $3 } END { print n + 0 }'; }
now_ns() { date +%s%N; }
share() {  # ticks, nanoseconds -> percent of one core
    awk -v t="$1" -v ns="$2" -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", 100 * (t / hz) / (ns / 1e9) }'
}

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
wait_for() {  # a window title, within 60 s
    local deadline=$(( $(date +%s) + 60 ))
    until xdotool search --all --onlyvisible --pid "$pid" --name "$1" >/dev/null 2>&1; do
        (( $(date +%s) < deadline )) || { echo "no window \"$1\" after 60 s" >&2; exit 1; }
        sleep 0.02
    done
}
wait_for '^Quorvex Aim Fader$'
roll_cpu=$(cpu_ticks "$pid") roll_start=$(now_ns)
wait_for '^Quorvex AimFader$'
roll_ticks=$(( $(cpu_ticks "$pid") - roll_cpu )) roll_ns=$(( $(now_ns) - roll_start ))
echo "roll: $(( roll_ns / 1000000 )) ms, $(share "$roll_ticks" "$roll_ns")% of one core"

sleep 1  # let the fader window settle
idle_cpu=$(cpu_ticks "$pid") idle_runs=$(runs "$pid") idle_start=$(now_ns)
sleep "$seconds"
idle_ticks=$(( $(cpu_ticks "$pid") - idle_cpu )) idle_ns=$(( $(now_ns) - idle_start ))
idle_runs=$(( $(runs "$pid") - idle_runs ))
echo "after the hand-off: ${idle_ticks} ticks of 1/${ticks_per_second} s in $(( idle_ns / 1000000 )) ms," \
     "$(share "$idle_ticks" "$idle_ns")% of one core, woken ${idle_runs} times" \
     "($(awk -v n="$idle_runs" -v ns="$idle_ns" 'BEGIN { printf "%.1f", n / (ns / 1e9) }') a second)"
