#!/usr/bin/env bash
# Times the game's start from launch to the About window, several runs in a virtual display:
#   bash scripts/startup-time.sh [PROGRAM [RUNS]]
# Prints each run's steps (wall time since launch, CPU time of the process) and, at the end,
# the launch-to-About times. Needs Xvfb; the display is $STARTUP_DISPLAY (default :114).
set -euo pipefail
program=${1:-build/pabuko}
runs=${2:-5}
disp=:${STARTUP_DISPLAY:-114}
log=$(mktemp)
Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill "$xpid" 2>/dev/null; rm -f "$log"' EXIT
sleep 1
totals=()
for ((i = 1; i <= runs; i++)); do
    : >"$log"
    DISPLAY=$disp SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} \
        PABUKO_STARTUP_TRACE=$(date +%s%N) "$program" 2>"$log" &
    pid=$!
    for ((t = 0; t < 100; t++)); do
        grep -q "About window painted" "$log" && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "run $i:"
    grep "^start-up" "$log" || true
    totals+=("$(awk '/About window painted/ {print $2}' "$log")")
done
echo "launch to About window (ms): ${totals[*]}"
