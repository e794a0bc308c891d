#!/usr/bin/env bash
# Times zentrova-cli exportar (release build) on the sample export grown 1, 10, 100 and
# 500 times, and shows its peak memory; then the same run with --informe, which collects what
# the converters do for the report. Usage: bash bench/exportar_bench.sh [K ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cli=build/release/bin/zentrova-cli
[ -x "$cli" ] || { cmake --preset release >/dev/null && cmake --build --preset release; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%6s %10s %8s %9s %10s %10s %11s\n' K export_KB ASIGT seconds peak_KB informe_s \
  informe_KB
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 10 100 500)
for k in "${sizes[@]}"; do
  /usr/bin/python3 bench/scale_export.py data/muestra/instituto.xml "$k" "$work/export.xml"
  rm -rf "$work/ktemp" && mkdir "$work/ktemp"
  /usr/bin/time -f '%e %M' -o "$work/time" \
    "$cli" exportar "$work/export.xml" --ktemp "$work/ktemp" --marcos M,T >"$work/out"
  read -r seconds peak <"$work/time"
  rows=$(sed -n 's/^ASIGT.DBF: \([0-9]*\) filas$/\1/p' "$work/out")
  /usr/bin/time -f '%e %M' -o "$work/time" \
    "$cli" exportar "$work/export.xml" --ktemp "$work/ktemp" --marcos M,T \
    --informe "$work/informe.txt" >/dev/null
  read -r reported_seconds reported_peak <"$work/time"
  printf '%6s %10s %8s %9s %10s %10s %11s\n' "$k" "$(($(stat -c %s "$work/export.xml") / 1024))" \
    "$rows" "$seconds" "$peak" "$reported_seconds" "$reported_peak"
done
