#!/usr/bin/env bash
# Both directions of zentrova-cli (release build) next to `xmllint --noout` on the same file,
# at the sample export grown K times (20 and 200 unless given): median seconds over
# ZENTROVA_BENCH_RUNS runs (5), the ratio, and the peak memory as a multiple of the file.
# Run by hand on a quiet machine; see bench/ratios.py. With ZENTROVA_REFERENCE_CLI set to another
# build of zentrova-cli, it first checks that both write the same files at each scale.
# Usage: bash bench/ratios.sh [K ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release --target zentrova-cli nivelex_table >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
scales=("$@")
[ ${#scales[@]} -gt 0 ] || scales=(20 200)
/usr/bin/python3 bench/ratios.py "$PWD/build/release/bin/zentrova-cli" "$work" \
  "${ZENTROVA_BENCH_RUNS:-5}" "${scales[@]}"
