#!/usr/bin/env bash
# Everything of the Windows product, as CI runs it after scripts/test.sh (which leaves the
# Linux build in build/debug, used by the comparisons): the cross-build with its packages
# (scripts/build-windows.sh), the core's tests under Wine (ctest in build/windows), the
# byte-for-byte comparison of Linux and Windows (scripts/windows-crosscheck.sh), the Win32
# window's tests (scripts/windows-window-test.sh) and the installer's
# (scripts/windows-installer-test.sh). One Wine prefix (build/windows/wine) serves them all.
# Prints the time of each step; exits non-zero at the first step that fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$SECONDS
export WINEPREFIX=$root/build/windows/wine WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT

step() {
  local name=$1 begun=$SECONDS
  shift
  echo "==== $name"
  "$@"
  echo "==== $name: $((SECONDS - begun)) s"
}

core_tests() {
  # A wineserver kept running between the test programs spares each one Wine's start-up.
  wineserver -k 2>/dev/null || true
  wineserver -p
  # Wine's own background programs start with the first program, holding on to its output:
  # started here, they do not keep ctest waiting for the output of a test program to end.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  local status=0
  ctest --test-dir build/windows -j2 --output-on-failure || status=$?
  # The window test needs a wineserver started under its display.
  wineserver -k 2>/dev/null || true
  return $status
}

step "Compilación para Windows y paquetes" bash scripts/build-windows.sh
step "Pruebas del núcleo con Wine" core_tests
step "Comprobación cruzada Linux y Windows" bash scripts/windows-crosscheck.sh
step "Pruebas de la ventana de Windows" bash scripts/windows-window-test.sh
step "Prueba del instalador" bash scripts/windows-installer-test.sh
echo "Windows: todo correcto en $((SECONDS - started)) s"
