#!/usr/bin/env bash
# Builds everything (debug) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j2
