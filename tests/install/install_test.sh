#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from there:
# the program folder must hold everything the programs look for beside themselves.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

folder=$prefix/lib/zentrova
for file in zentrova zentrova-cli NIVELEX.DBF VETRANA.chm help/index.html help/indice.html; do
  [ -e "$folder/$file" ] || { echo "falta $folder/$file"; exit 1; }
done
for program in zentrova zentrova-cli; do
  [ -x "$prefix/bin/$program" ] || { echo "falta el enlace bin/$program"; exit 1; }
done
grep -qx 'Exec=zentrova' "$prefix/share/applications/zentrova.desktop"

# The package's documents: its changelog's newest entry is this version, and each program has
# its manual page, Spanish in man/es and in man1.
for file in doc/zentrova/copyright man/man1/zentrova.1.gz man/man1/zentrova-cli.1.gz \
  man/es/man1/zentrova.1.gz man/es/man1/zentrova-cli.1.gz; do
  [ -f "$prefix/share/$file" ] || { echo "falta share/$file"; exit 1; }
done
newest=$(gzip -dc "$prefix/share/doc/zentrova/changelog.gz" | head -n 1)
[[ $newest == "zentrova ($version) "* ]] ||
  { echo "la última entrada del changelog no es la versión $version: $newest"; exit 1; }

# Every page the help's contents name is installed.
grep -o 'value="[a-z]*\.html"' "$source/data/help/VETRANA.hhc" | cut -d'"' -f2 | sort -u |
  while read -r page; do
    [ -f "$folder/help/$page" ] || { echo "falta la página $page"; exit 1; }
  done

# Through the link in bin, the level table beside the real program is found.
mkdir "$prefix/ktemp"
"$prefix/bin/zentrova-cli" exportar "$source/data/muestra/instituto.xml" \
  --ktemp "$prefix/ktemp" --marcos M,T >"$prefix/exportar.out"
grep -qx 'Proceso finalizado' "$prefix/exportar.out"
"$prefix/bin/zentrova-cli" tabla "$prefix/ktemp/CURSOST.DBF" | grep -q 'ESO'
echo "instalación correcta en $folder"
