#!/usr/bin/env bash
# Installs what is missing, then configures and builds in build/: everything (the game, its
# tool, data, tests and benchmarks), or only the targets named.
#   build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# Warnings are errors for the project's own builds only.
cmake -S . -B build -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPABUKO_BENCH=ON >/dev/null
if [ $# -gt 0 ]; then
    cmake --build build -j2 --target "$@"
else
    cmake --build build -j2
fi
