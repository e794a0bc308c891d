#!/usr/bin/env bash
# Draws the main window and the time-frame dialog (over the bundled sample export) into
# docs/pictures/, offscreen. Usage: scripts/render_pictures.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target zentrova-pictures
QT_QPA_PLATFORM=offscreen "$build/bin/zentrova-pictures" docs/pictures data/muestra/instituto.xml
