#!/usr/bin/env bash
# Measures what the running game costs.
#   bash scripts/measure.sh [SECONDS]
#       samples the newest running `pabuko` (or $PABUKO_PID): start a level first.
#   bash scripts/measure.sh --play [--music-off] [SECONDS]
#       starts build/pabuko (or $PABUKO_PROGRAM) in a virtual display with the dummy audio
#       driver, closes the About window, begins a game with F2 (with --music-off also F6)
#       and samples it while the level runs, the LED line scrolling.
# Prints the share of one core, the resident memory and the wake-ups per second: how often
# the game's threads went to sleep and were woken again (voluntary context switches), summed
# over all its threads. Preemptions by other programs are left out: they say more about the
# machine than about the game.
set -euo pipefail
play=0
music=on
while [[ ${1:-} == --* ]]; do
    case $1 in
    --play) play=1 ;;
    --music-off) music=off ;;
    *) echo "neznámá volba $1" >&2; exit 2 ;;
    esac
    shift
done
seconds=${1:-60}

if ((play)); then
    program=${PABUKO_PROGRAM:-build/pabuko}
    disp=:${MEASURE_DISPLAY:-117}
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xpid=$!
    game=
    trap 'kill $game "$xpid" 2>/dev/null || true' EXIT
    sleep 1
    DISPLAY=$disp SDL_AUDIODRIVER=dummy "$program" >/dev/null 2>&1 &
    game=$!
    export DISPLAY=$disp
    sleep 2
    xdotool key Return # closes the About window
    sleep 1
    xdotool search --name "Pabuko" windowactivate --sync >/dev/null 2>&1 || true
    xdotool key F2
    [ "$music" = off ] && xdotool key F6
    sleep 2
    pid=$game
    echo "hra běží (hudba: $music), měřím $seconds s"
else
    pid=${PABUKO_PID:-$(pgrep -n -x pabuko)} || { echo "pabuko neběží" >&2; exit 1; }
fi

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
# Sum over the threads alive now; threads that ended meanwhile are counted by their parent.
wakeups() {
    cat /proc/"$pid"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'
}
threads() { ls /proc/"$pid"/task | wc -l; }
start_cpu=$(cpu)
start_wake=$(wakeups)
start_time=$(date +%s.%N)
peak=0
for ((i = 0; i < seconds; i++)); do
    sleep 1
    r=$(rss)
    ((r > peak)) && peak=$r
done
end_cpu=$(cpu)
end_wake=$(wakeups)
end_time=$(date +%s.%N)
awk -v c=$((end_cpu - start_cpu)) -v t="$ticks" -v s="$start_time" -v e="$end_time" \
    -v r="$(rss)" -v p="$peak" -v w=$((end_wake - start_wake)) -v n="$(threads)" 'BEGIN {
    printf "CPU: %.2f %% of one core over %.0f s\n", 100 * c / t / (e - s), e - s
    printf "resident: %.1f MB now, %.1f MB at most\n", r / 1024, p / 1024
    printf "wake-ups: %.1f per second (%d threads)\n", w / (e - s), n }'
