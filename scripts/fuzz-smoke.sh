#!/usr/bin/env bash
# Short fuzzing runs of every file reader: builds the libFuzzer targets with clang in
# build-fuzz/ and runs each for FUZZ_SECONDS (default 30) seconds, starting from seeds made
# by make_fuzz_seeds. A crash leaves its input in build-fuzz/artifacts/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++-14 >/dev/null; then
    echo "clang++-14 is not installed: fuzzing skipped"
    exit 0
fi
seconds=${FUZZ_SECONDS:-30}

echo "== fuzzers (clang, ${seconds} s each) =="
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPABUKO_ENGINE_ONLY=ON -DPABUKO_FUZZ=ON -DPABUKO_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
mapfile -t fuzzers < <(grep -v '^$' build-fuzz/fuzzers.txt || true)
if [ ${#fuzzers[@]} -eq 0 ]; then
    echo "no fuzzers"
    exit 0
fi
targets=("${fuzzers[@]}")
if grep -q '^make_fuzz_seeds:' <(ninja -C build-fuzz -t targets all 2>/dev/null); then
    targets+=(make_fuzz_seeds)
fi
cmake --build build-fuzz -j2 --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -x build-fuzz/make_fuzz_seeds ]; then
    build-fuzz/make_fuzz_seeds "$work/seeds"
fi
mkdir -p build-fuzz/artifacts

status=0
for name in "${fuzzers[@]}"; do
    corpus="$work/corpus/$name"
    mkdir -p "$corpus"
    dirs=("$corpus")
    [ -d "$work/seeds/$name" ] && dirs+=("$work/seeds/$name")
    # The campaign's corpus: read, never written (new inputs go to the first folder).
    [ -d "fuzz/corpus/$name" ] && dirs+=("fuzz/corpus/$name")
    echo "-- $name"
    if ! "build-fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -artifact_prefix="build-fuzz/artifacts/$name-" -print_final_stats=1 \
        "${dirs[@]}" >"$work/$name.log" 2>&1; then
        tail -n 60 "$work/$name.log"
        echo "$name FAILED (input in build-fuzz/artifacts/)"
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$work/$name.log" || true
    fi
done
exit $status
