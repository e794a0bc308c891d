#!/usr/bin/env bash
# Tests the Windows installer (build/windows/zentrova-VERSION-win64.exe) under Wine, as school
# IT would use it: a silent install (/S) into the Wine prefix of the Windows build, the
# installed zentrova-cli.exe converts the bundled sample (its tables read back with
# python3-dbfread), Orbelin.ini can be written beside the programs, the uninstaller is
# registered with the version, and a silent uninstall removes the program folder and the
# Start-menu entry. Also checks that the .zip holds the same program folder.
#
# Builds the packages first when they are missing (scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
work=$root/build/windows-installer-test
python=/usr/bin/python3  # Debian's, which python3-dbfread is installed for

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt" 2>/dev/null || true)
installer=$out/zentrova-$version-win64.exe
if [ -z "$version" ] || [ ! -f "$installer" ]; then
  bash scripts/build-windows.sh
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
  installer=$out/zentrova-$version-win64.exe
fi
archive=$out/zentrova-$version-win64.zip

export WINEPREFIX=$out/wine WINEDEBUG=-all LC_ALL=C.UTF-8
drive_c=$WINEPREFIX/drive_c
folder=$drive_c/Zentrova
trap 'wineserver -k 2>/dev/null || true' EXIT

failures=0
fail() { echo "  FALLO $*"; failures=$((failures + 1)); }
ok() { echo "  bien: $*"; }
start_menu_entries() { find "$drive_c" -iname 'Zentrova.lnk' -path '*Start Menu*' 2>/dev/null; }

rm -rf "$work"
mkdir -p "$work/ktemp"
started=$SECONDS

echo "== Instalación silenciosa de $(basename "$installer")"
# A folder left by an earlier run would hide what the installer does.
[ -d "$folder" ] && rm -rf "$folder"
wine "$installer" /S
wineserver -w
for file in zentrova.exe zentrova-cli.exe NIVELEX.DBF VETRANA.chm Uninstall.exe; do
  if [ -f "$folder/$file" ]; then ok "C:\\Zentrova\\$file"; else fail "falta C:\\Zentrova\\$file"; fi
done
if [ -n "$(start_menu_entries)" ]; then ok "entrada en el menú Inicio"; else fail "no hay entrada en el menú Inicio"; fi
# The uninstaller as Windows lists it, with the version.
if grep -A20 -i 'Uninstall\\\\Zentrova' "$WINEPREFIX/system.reg" |
  grep -q "\"DisplayVersion\"=\"$version\""; then
  ok "desinstalador registrado con la versión $version"
else
  fail "el desinstalador no está registrado con la versión $version"
fi

echo "== El zentrova-cli.exe instalado convierte la muestra"
cp data/muestra/instituto.xml "$work/instituto.xml"
if wine 'C:\Zentrova\zentrova-cli.exe' exportar "Z:$work/instituto.xml" --ktemp "Z:$work/ktemp" \
  --marcos M >"$work/exportar.out" 2>&1; then
  if "$python" - "$work/ktemp" <<'PY'; then ok "tablas leídas con dbfread"; else fail "tablas ilegibles"; fi
import os, sys
from dbfread import DBF
counts = {name: len(list(DBF(os.path.join(sys.argv[1], name + '.DBF'), encoding='cp1252')))
          for name in ('PROFT', 'ASIGT', 'GRUPOST', 'DIASHORAST')}
print('   ', counts)
sys.exit(0 if all(counts.values()) else 1)
PY
else
  fail "zentrova-cli.exe exportar: $(cat "$work/exportar.out")"
fi

echo "== Orbelin.ini se puede escribir junto al programa"
if wine cmd /c 'echo [Transformadores]> C:\Zentrova\Orbelin.ini' && [ -f "$folder/Orbelin.ini" ]; then
  ok "C:\\Zentrova\\Orbelin.ini escrito"
else
  fail "no se puede escribir C:\\Zentrova\\Orbelin.ini"
fi

echo "== El .zip trae la misma carpeta del programa"
listed=$("$python" -c 'import sys, zipfile; print("\n".join(sorted(
    n.split("/", 1)[1] for n in zipfile.ZipFile(sys.argv[1]).namelist() if not n.endswith("/"))))' "$archive")
installed=$(cd "$folder" && find . -type f ! -name Uninstall.exe ! -name Orbelin.ini | sed 's|^\./||' | sort)
if [ "$listed" = "$installed" ]; then ok "$(echo "$listed" | wc -l) archivos iguales"; else
  fail "el .zip y la instalación difieren"; diff <(echo "$listed") <(echo "$installed") || true
fi

echo "== Desinstalación silenciosa"
wine 'C:\Zentrova\Uninstall.exe' /S
# The uninstaller runs a copy of itself from the temporary folder: wait for every process.
wineserver -w
if [ -e "$folder" ]; then fail "queda C:\\Zentrova: $(ls -A "$folder" | tr '\n' ' ')"; else ok "C:\\Zentrova quitada"; fi
if [ -z "$(start_menu_entries)" ]; then ok "entrada del menú Inicio quitada"; else fail "queda la entrada del menú Inicio"; fi

echo "== Prueba del instalador en $((SECONDS - started)) s"
if [ "$failures" -ne 0 ]; then
  echo "Han fallado $failures comprobaciones del instalador." >&2
  exit 1
fi
echo "Todo correcto."
