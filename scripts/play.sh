#!/usr/bin/env bash
# Sets up, builds what the game needs to start (the game, its data and help; not the tests)
# and starts it. The build folder is the one scripts/test.sh uses.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh pabuko pabuko_data
exec ./build/pabuko "$@"
