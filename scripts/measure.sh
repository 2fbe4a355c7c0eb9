#!/usr/bin/env bash
# Measures what the running game costs: start a level, then run
#   bash scripts/measure.sh [SECONDS]
# It samples /proc/PID of `pabuko` (the newest one) and prints the share of one core, the
# resident memory and the wake-ups per second of all its threads (context switches: each
# time a thread goes to sleep and is woken, or is preempted) over the period.
set -euo pipefail
seconds=${1:-60}
pid=${PABUKO_PID:-$(pgrep -n -x pabuko)} || { echo "pabuko neběží" >&2; exit 1; }
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
# Sum over the threads alive now; threads that ended meanwhile are counted by their parent.
switches() {
    cat /proc/"$pid"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {s += $2} END {print s + 0}'
}
threads() { ls /proc/"$pid"/task | wc -l; }
start_cpu=$(cpu)
start_sw=$(switches)
start_time=$(date +%s.%N)
peak=0
for ((i = 0; i < seconds; i++)); do
    sleep 1
    r=$(rss)
    ((r > peak)) && peak=$r
done
end_cpu=$(cpu)
end_sw=$(switches)
end_time=$(date +%s.%N)
awk -v c=$((end_cpu - start_cpu)) -v t="$ticks" -v s="$start_time" -v e="$end_time" \
    -v r="$(rss)" -v p="$peak" -v w=$((end_sw - start_sw)) -v n="$(threads)" 'BEGIN {
    printf "CPU: %.2f %% of one core over %.0f s\n", 100 * c / t / (e - s), e - s
    printf "resident: %.1f MB now, %.1f MB at most\n", r / 1024, p / 1024
    printf "wake-ups: %.1f per second (%d threads)\n", w / (e - s), n }'
