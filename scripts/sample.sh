#!/usr/bin/env bash
# Builds the programs (release) and converts the bundled sample export into ./ktemp-muestra.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
mkdir -p ktemp-muestra
build/release/bin/zentrova-cli exportar data/muestra/instituto.xml --ktemp ktemp-muestra --marcos M,T
echo
echo "Profesores escritos (ktemp-muestra/PROFT.DBF):"
build/release/bin/zentrova-cli tabla ktemp-muestra/PROFT.DBF
