#!/usr/bin/env bash
# The fuzz campaign: every libFuzzer target (one per file reader) runs FUZZ_RUNS executions
# (default one million), or FUZZ_SECONDS seconds when that is set and comes first, starting
# from its corpus in fuzz/corpus/<name>/ and fresh seeds;
# the corpus is then minimized back into the repository, and a table of the figures is
# printed (and written to build-fuzz/campaign.md). A crash leaves its input in
# build-fuzz/artifacts/ and fails the campaign. Runs at the lowest priority, so that it
# does not starve anything else on the machine.
#   bash scripts/fuzz-campaign.sh [NAME...]     # default: every file reader
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(nice)" -lt 19 ]; then exec nice -n 19 bash "$0" "$@"; fi

runs=${FUZZ_RUNS:-1000000}
limit=()
[ -n "${FUZZ_SECONDS:-}" ] && limit=(-max_total_time="$FUZZ_SECONDS")
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPABUKO_ENGINE_ONLY=ON -DPABUKO_FUZZ=ON -DPABUKO_BENCH=OFF >/dev/null
if [ $# -gt 0 ]; then
    fuzzers=("$@")
else
    # The rules fuzzer plays whole games from its input, a few hundred a second; it reads
    # no file and is left to the short CI runs.
    mapfile -t fuzzers < <(grep -v -e '^$' -e '^rules_fuzzer$' build-fuzz/fuzzers.txt)
fi
cmake --build build-fuzz -j2 --target "${fuzzers[@]}" make_fuzz_seeds

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-fuzz/make_fuzz_seeds "$work/seeds"
mkdir -p build-fuzz/artifacts

table=build-fuzz/campaign.md
{
    echo "| reader (fuzzer) | executions | per second | coverage | corpus kept | time |"
    echo "|---|---:|---:|---:|---:|---:|"
} >"$table"
status=0
for name in "${fuzzers[@]}"; do
    corpus=fuzz/corpus/$name
    mkdir -p "$corpus" "$work/$name/new" "$work/seeds/$name"
    log=$work/$name/log
    echo "-- $name: $runs executions"
    start=$(date +%s)
    if ! "build-fuzz/$name" -runs="$runs" "${limit[@]}" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-" \
        "$work/$name/new" "$corpus" "$work/seeds/$name" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$name FAILED (input in build-fuzz/artifacts/)"
        status=1
        continue
    fi
    seconds=$(($(date +%s) - start))
    executed=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
    rate=$(awk '/^stat::average_exec_per_sec/ {print $2}' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | awk '{print $2}')

    # Keep only the inputs that add coverage.
    mkdir -p "$work/$name/min"
    "build-fuzz/$name" -merge=1 -max_len=4096 "$work/$name/min" "$corpus" "$work/$name/new" \
        "$work/seeds/$name" >"$work/$name/merge.log" 2>&1
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp "$work/$name/min/"* "$corpus/" 2>/dev/null || true
    files=$(find "$corpus" -type f | wc -l)
    size=$(du -sk "$corpus" | cut -f1)
    echo "| $name | $executed | $rate | $coverage | $files files, $size KB | $seconds s |" |
        tee -a "$table"
done
echo
cat "$table"
exit $status
