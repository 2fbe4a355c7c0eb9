#!/usr/bin/env bash
# Measures the CPU and memory the running game takes: start a level, then run
#   bash scripts/measure.sh [SECONDS]
# It samples /proc/PID of `pabuko` (the newest one) and prints the share of one core
# and the resident memory over the period.
set -euo pipefail
seconds=${1:-60}
pid=$(pgrep -n -x pabuko) || { echo "pabuko neběží" >&2; exit 1; }
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
start_cpu=$(cpu)
start_time=$(date +%s.%N)
peak=0
for ((i = 0; i < seconds; i++)); do
    sleep 1
    r=$(rss)
    ((r > peak)) && peak=$r
done
end_cpu=$(cpu)
end_time=$(date +%s.%N)
awk -v c=$((end_cpu - start_cpu)) -v t="$ticks" -v s="$start_time" -v e="$end_time" \
    -v r="$(rss)" -v p="$peak" 'BEGIN {
    printf "CPU: %.2f %% of one core over %.0f s\n", 100 * c / t / (e - s), e - s
    printf "resident: %.1f MB now, %.1f MB at most\n", r / 1024, p / 1024 }'
