#!/usr/bin/env bash
# Makes the Windows Installer package of the Windows build (build/windows, see
# scripts/build-windows.sh) with wixl: the program folder as `cmake --install --strip` makes
# it (the files of the other packages), listed by wixl-heat, and data/zentrova.wxs.
# Usage: scripts/build-msi.sh OUTPUT.msi [VERSION]
# VERSION (three numbers) is the build's own unless given: a test gives a higher one to make
# a newer package of the same programs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
[ $# -ge 1 ] || { echo "Uso: $0 SALIDA.msi [VERSIÓN]" >&2; exit 2; }
output=$(realpath -m "$1")
version=${2:-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")}
[ -n "$version" ] || { echo "No hay compilación para Windows en $out." >&2; exit 1; }

bash scripts/install-packages.sh wixl

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$out" --prefix "$work/Zentrova" --strip >/dev/null
(cd "$work" && find Zentrova -type f | sort |
  wixl-heat --prefix Zentrova/ --directory-ref INSTALLDIR --component-group ProgramFiles \
    --var var.SourceDir --win64 >ProgramFiles.wxs)
mkdir -p "$(dirname "$output")"
# wixl finds the files relative to the folder it runs in.
cp data/zentrova.wxs "$work/"
(cd "$work" && wixl --arch x64 -D Version="$version" -D SourceDir=Zentrova -D Win64=yes \
  -o "$output" zentrova.wxs ProgramFiles.wxs)
echo "Paquete MSI: $output (versión $version, $(stat -c %s "$output") bytes)"
