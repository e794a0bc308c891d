#!/usr/bin/env bash
# Both directions of zentrova-cli (release build) next to `xmllint --noout` on the same file,
# at the sample export grown K times (20 and 200 unless given): median seconds over
# ZENTROVA_BENCH_RUNS runs (5), the ratio, and the peak memory as a multiple of the file.
# Run by hand on a quiet machine; see bench/ratios.py. With ZENTROVA_REFERENCE_CLI set to another
# build of zentrova-cli, it first checks that both write the same files at each scale.
# ZENTROVA_BENCH_CLI names a zentrova-cli already built to measure instead (another commit's,
# say); its level table must be beside it.
# Usage: bash bench/ratios.sh [K ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cli=${ZENTROVA_BENCH_CLI:-}
if [ -z "$cli" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target zentrova-cli nivelex_table >/dev/null
  cli="$PWD/build/release/bin/zentrova-cli"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
scales=("$@")
[ ${#scales[@]} -gt 0 ] || scales=(20 200)
/usr/bin/python3 bench/ratios.py "$cli" "$work" \
  "${ZENTROVA_BENCH_RUNS:-5}" "${scales[@]}"
