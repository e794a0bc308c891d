#!/usr/bin/env bash
# Tests both Windows packages under Wine, as school IT uses them, in the Wine prefix of the
# Windows build: the NSIS installer (build/windows/zentrova-VERSION-win64.exe, /S) and the
# Windows Installer package (zentrova-VERSION-win64.msi, msiexec /qn). For each:
#   - a silent install: the program folder C:\Zentrova, the Start-menu entry, the uninstaller
#     registered with the version;
#   - the installed zentrova-cli.exe converts the bundled sample (tables read back with
#     python3-dbfread);
#   - the school builds its own level table (zentrova-cli nivelex, into
#     C:\ProgramData\Zentrova) and edits Orbelin.ini beside the programs; a newer build of the
#     same package (a higher version number, made here) is installed over it silently: both
#     files stay byte for byte, the installation is replaced in place (one uninstaller entry,
#     the newer version) and the installed program reads the school's table;
#   - NSIS only: a table the school put in place of the shipped one (as earlier versions said)
#     is moved into C:\ProgramData\Zentrova by the update;
#   - a silent uninstall removes what the package installed and leaves the school's files.
# Also checks that the .zip and both installations hold the same program folder.
#
# Builds the packages first when they are missing (scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
work=$root/build/windows-installer-test
python=/usr/bin/python3  # Debian's, which python3-dbfread is installed for

built_version() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt" 2>/dev/null || true; }
version=$(built_version)
if [ -z "$version" ] || [ ! -f "$out/zentrova-$version-win64.exe" ] ||
  [ ! -f "$out/zentrova-$version-win64.msi" ]; then
  bash scripts/build-windows.sh
  version=$(built_version)
fi
IFS=. read -r major minor patch <<<"$version"
newer=$major.$minor.$((patch + 1))

export WINEPREFIX=$out/wine WINEDEBUG=-all LC_ALL=C.UTF-8
drive_c=$WINEPREFIX/drive_c
folder=$drive_c/Zentrova
data=$drive_c/ProgramData/Zentrova
trap 'wineserver -k 2>/dev/null || true' EXIT

failures=0
fail() { echo "  FALLO $*"; failures=$((failures + 1)); }
ok() { echo "  bien: $*"; }
check() {  # check DESCRIPTION COMMAND...: ok or FALLO after the command's status
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
start_menu_entries() { find "$drive_c" -iname 'Zentrova.lnk' -path '*Start Menu*' 2>/dev/null; }
# The versions of every uninstaller entry named Zentrova, one a line.
registered_versions() {
  awk -v RS= '/^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\/ &&
    /\n"DisplayName"="Zentrova/ {
    if (match($0, /"DisplayVersion"="[^"]*"/)) print substr($0, RSTART + 18, RLENGTH - 19) }' \
    "$WINEPREFIX/system.reg"
}
# What a test before this one, or an earlier run, left would hide what a package does.
clean_slate() {
  rm -rf "$folder" "$data"
  start_menu_entries | while read -r entry; do rm -rf "$(dirname "$entry")"; done
}
wait_for_wine() { wineserver -w; }

rm -rf "$work"
mkdir -p "$work"
started=$SECONDS

# The school's level table: its own study name for the course offer 305 of the sample.
printf 'X_OFERTAMATRIG;NIVEL_ABREV;ESTUDIO\n305;CEN;Estudio del centro\n' >"$work/niveles.csv"
# An Orbelin.ini the school edited: other sections, an ANSI accent, CRLF line ends.
printf '; Orbelin del centro\r\n[Orbelin]\r\nCentro=IES Mar\xedtimo\r\n\r\n[Transformadores]\r\nTransformado=1\r\n' \
  >"$work/Orbelin.ini"

# The packages of a newer build: the same programs with a higher version number, and a level
# table with one course offer more, as a release that brings new codes ships. The build's own
# table is put back afterwards.
echo "== Paquetes de una versión más nueva ($newer)"
shipped=$out/bin/NIVELEX.DBF
cp -p "$shipped" "$work/NIVELEX-construida.DBF"
{ cat data/nivelex.csv; printf '999;NUEVO;Estudio de la versión nueva\n'; } >"$work/niveles-nuevos.csv"
wine "$out/bin/zentrova-cli.exe" nivelex "$(windows_path "$work/niveles-nuevos.csv")" \
  "$(windows_path "$shipped")" >"$work/nivelex-nuevo.out" 2>&1 ||
  { cat "$work/nivelex-nuevo.out"; exit 1; }
cp "$shipped" "$work/NIVELEX-nueva.DBF"
packaged=0
(cd "$out" && cpack -G NSIS -B "$work/nuevo" -D CPACK_PACKAGE_VERSION="$newer" \
  -D CPACK_PACKAGE_FILE_NAME="zentrova-$newer-win64" \
  -D CPACK_NSIS_DISPLAY_NAME="Zentrova $newer" -D CPACK_NSIS_PACKAGE_NAME="Zentrova $newer" \
  >"$work/cpack.log" 2>&1) &&
  bash scripts/build-msi.sh "$work/nuevo/zentrova-$newer-win64.msi" "$newer" >"$work/msi.log" ||
  packaged=$?
cp -p "$work/NIVELEX-construida.DBF" "$shipped"
[ "$packaged" -eq 0 ] || { tail -n 20 "$work/cpack.log" "$work/msi.log"; exit 1; }
echo "   $(cd "$work/nuevo" && ls zentrova-*-win64.* | tr "\n" " ")"

check_installation() {
  local file missing=()
  for file in zentrova.exe zentrova-cli.exe NIVELEX.DBF VETRANA.chm help/index.html; do
    [ -f "$folder/$file" ] || missing+=("$file")
  done
  check "C:\\Zentrova con los programas, la tabla de niveles y la ayuda ${missing[*]:+(faltan ${missing[*]})}" \
    [ ${#missing[@]} -eq 0 ]
  check "entrada en el menú Inicio" [ -n "$(start_menu_entries)" ]
  check "un desinstalador registrado, con la versión $1" [ "$(registered_versions)" = "$1" ]
}

# Converts the sample with the installed zentrova-cli.exe and the level table it finds by
# itself; prints the study the table gave the course offer 305.
convert_sample() {
  local ktemp=$work/ktemp-$1
  mkdir -p "$ktemp"
  cp data/muestra/instituto.xml "$work/instituto.xml"
  if ! wine 'C:\Zentrova\zentrova-cli.exe' exportar "$(windows_path "$work/instituto.xml")" \
    --ktemp "$(windows_path "$ktemp")" --marcos M >"$work/exportar-$1.out" 2>&1; then
    echo "zentrova-cli.exe exportar: $(cat "$work/exportar-$1.out")" >&2
    return 1
  fi
  "$python" - "$ktemp" <<'PY'
import os, sys
from dbfread import DBF
tables = {name: list(DBF(os.path.join(sys.argv[1], name + '.DBF'), encoding='cp1252'))
          for name in ('PROFT', 'ASIGT', 'GRUPOST', 'DIASHORAST', 'CURSOST')}
if not all(tables.values()):
    sys.exit('tablas vacías: ' + str({name: len(rows) for name, rows in tables.items()}))
print(next(row['ESTUD'] for row in tables['CURSOST'] if row['CLAVE'] == '305'))
PY
}

# The school's table and Orbelin.ini, as the school left them.
make_school_files() {
  wine 'C:\Zentrova\zentrova-cli.exe' nivelex "$(windows_path "$work/niveles.csv")" \
    >"$work/nivelex.out" 2>&1 || fail "zentrova-cli.exe nivelex: $(cat "$work/nivelex.out")"
  check "zentrova-cli nivelex escribe la tabla del centro en C:\\ProgramData\\Zentrova" \
    grep -qF 'C:\ProgramData\Zentrova\NIVELEX.DBF' "$work/nivelex.out"
  cp "$data/NIVELEX.DBF" "$work/NIVELEX-centro.DBF"
  cp "$work/Orbelin.ini" "$folder/Orbelin.ini"
}

check_school_files() {
  check "la tabla del centro sigue igual, byte a byte" cmp -s "$data/NIVELEX.DBF" "$work/NIVELEX-centro.DBF"
  check "Orbelin.ini sigue igual, byte a byte" cmp -s "$folder/Orbelin.ini" "$work/Orbelin.ini"
  check "el programa instalado lee la tabla del centro" \
    [ "$(convert_sample "$1")" = "Estudio del centro" ]
}

# After an update that ships a table with new course offers: the program folder holds the
# new table, and the table the older version shipped was not taken for the school's.
check_shipped_table_replaced() {
  check "C:\\Zentrova\\NIVELEX.DBF es la tabla que trae la versión $newer" \
    cmp -s "$folder/NIVELEX.DBF" "$work/NIVELEX-nueva.DBF"
  check "C:\\ProgramData\\Zentrova guarda solo la tabla del centro" \
    [ "$(ls "$data")" = "NIVELEX.DBF" ]
}

# After a removal: only the school's files remain.
check_removal() {
  check "quedan solo los archivos del centro: Orbelin.ini y la tabla del centro" \
    [ "$(cd "$drive_c" && find Zentrova ProgramData/Zentrova -type f | sort | tr '\n' ' ')" = \
    "ProgramData/Zentrova/NIVELEX.DBF Zentrova/Orbelin.ini " ]
  check "entrada del menú Inicio quitada" [ -z "$(start_menu_entries)" ]
  check "desinstalador quitado del registro" [ -z "$(registered_versions)" ]
}

zip_listing() {
  "$python" -c 'import sys, zipfile; print("\n".join(sorted(
    n.split("/", 1)[1] for n in zipfile.ZipFile(sys.argv[1]).namelist() if not n.endswith("/"))))' \
    "$out/zentrova-$version-win64.zip"
}
check_same_as_zip() {
  local installed
  installed=$(cd "$folder" && find . -type f ! -name Uninstall.exe ! -name Orbelin.ini | sed 's|^\./||' | sort)
  if [ "$(zip_listing)" = "$installed" ]; then
    ok "los mismos $(echo "$installed" | wc -l) archivos que el .zip"
  else
    fail "la instalación y el .zip difieren"
    diff <(zip_listing) <(echo "$installed") || true
  fi
}

echo "== NSIS: instalación silenciosa de zentrova-$version-win64.exe"
clean_slate
wine "$out/zentrova-$version-win64.exe" /S
wait_for_wine
check_installation "$version"
check "el zentrova-cli.exe instalado convierte la muestra con la tabla que trae" \
  [ "$(convert_sample nsis)" = "1º de Educación Secundaria Obligatoria" ]
check_same_as_zip

echo "== NSIS: la versión $newer encima de una tabla y un Orbelin.ini del centro"
make_school_files
wine "$work/nuevo/zentrova-$newer-win64.exe" /S
wait_for_wine
check_installation "$newer"
check_school_files nsis-nuevo
check_shipped_table_replaced

echo "== NSIS: una tabla del centro en la carpeta del programa pasa a C:\\ProgramData\\Zentrova"
mv "$data/NIVELEX.DBF" "$folder/NIVELEX.DBF"
wine "$work/nuevo/zentrova-$newer-win64.exe" /S
wait_for_wine
check "C:\\Zentrova\\NIVELEX.DBF vuelve a ser la que trae el programa" \
  cmp -s "$folder/NIVELEX.DBF" "$work/NIVELEX-nueva.DBF"
check_school_files nsis-carpeta

echo "== NSIS: desinstalación silenciosa"
wine 'C:\Zentrova\Uninstall.exe' /S
# The uninstaller runs a copy of itself from the temporary folder: wait for every process.
wait_for_wine
check_removal

echo "== MSI: msiexec /i zentrova-$version-win64.msi /qn"
clean_slate
wine msiexec /i "$(windows_path "$out/zentrova-$version-win64.msi")" /qn
wait_for_wine
check_installation "$version"
check "el zentrova-cli.exe instalado convierte la muestra con la tabla que trae" \
  [ "$(convert_sample msi)" = "1º de Educación Secundaria Obligatoria" ]
check_same_as_zip

echo "== MSI: la versión $newer encima de una tabla y un Orbelin.ini del centro"
make_school_files
wine msiexec /i "$(windows_path "$work/nuevo/zentrova-$newer-win64.msi")" /qn
wait_for_wine
check_installation "$newer"
check_school_files msi-nuevo
check_shipped_table_replaced

echo "== MSI: msiexec /x zentrova-$newer-win64.msi /qn"
wine msiexec /x "$(windows_path "$work/nuevo/zentrova-$newer-win64.msi")" /qn
wait_for_wine
check_removal
# What the school made would make later tests in this prefix find a level table.
clean_slate

echo "== Prueba de los instaladores en $((SECONDS - started)) s"
if [ "$failures" -ne 0 ]; then
  echo "Han fallado $failures comprobaciones de los instaladores." >&2
  exit 1
fi
echo "Todo correcto."
