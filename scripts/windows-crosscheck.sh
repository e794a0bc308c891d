#!/usr/bin/env bash
# Runs `zentrova-cli exportar` and then `importar` with the Linux build and with
# zentrova-cli.exe under Wine on the same exports, each program in an exchange folder of its
# own, and compares every file they leave byte for byte. Only the dates differ by design:
# the date of last update in a .DBF header (bytes 1-3), the dates of a .MDX (bytes 1-3 and
# 44-46 of its header, bytes 257-259 of each tag header) and the `fecha` attribute of the
# result document, which each system writes in its own date format. The folders and files
# have accents and ñ in their names. Exits non-zero at any difference.
#
# The exports are the bundled sample as it is (ISO-8859-1) and re-encoded as UTF-8, UTF-16
# and windows-1252, with one or two time frames; and a run that stops (an unknown frame).
# The exchange folder is given with --ktemp, or in ZENTROVA_KTEMP.
# SOLUC.DBF, which the timetabling product would compute, is made once by python3-dbf from
# the Linux program's tables and given to both.
#
# Uses build/debug/bin/zentrova-cli (ZENTROVA_LINUX_CLI) and build/windows/bin/
# zentrova-cli.exe (ZENTROVA_WINDOWS_CLI), building them when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_cli=${ZENTROVA_LINUX_CLI:-$root/build/debug/bin/zentrova-cli}
windows_cli=${ZENTROVA_WINDOWS_CLI:-$root/build/windows/bin/zentrova-cli.exe}
work=$root/build/windows-crosscheck
python=/usr/bin/python3  # Debian's, which python3-dbf and python3-dbfread are installed for

if [ ! -x "$linux_cli" ]; then
  bash scripts/setup.sh
  cmake --preset debug >/dev/null
  cmake --build --preset debug --target zentrova-cli nivelex_table
fi
[ -f "$windows_cli" ] || bash scripts/build-windows.sh

export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wine} WINEDEBUG=-all
# Wine passes arguments and environment on in the locale's character set.
export LC_ALL=C.UTF-8
unset ZENTROVA_KTEMP
trap 'wineserver -k 2>/dev/null || true' EXIT

rm -rf "$work"
mkdir -p "$work/exports"

# --- The exports ------------------------------------------------------------------------

sample=data/muestra/instituto.xml
declared() {  # the sample's text with another encoding declared, as UTF-8
  iconv -f ISO-8859-1 -t UTF-8 "$sample" | sed "1s/encoding=\"ISO-8859-1\"/encoding=\"$1\"/"
}
cp "$sample" "$work/exports/latin1.xml"
declared UTF-8 >"$work/exports/utf8.xml"
declared UTF-16 | iconv -f UTF-8 -t UTF-16 >"$work/exports/utf16.xml"  # with a BOM
declared windows-1252 | iconv -f UTF-8 -t WINDOWS-1252 >"$work/exports/cp1252.xml"

# name | export | time frames (--marcos) | exchange folder given by | whether importar follows
cases=(
  "muestra|latin1.xml|M,T|--ktemp|si"
  "utf8|utf8.xml|M,T|ZENTROVA_KTEMP|si"
  "utf16|utf16.xml|M|--ktemp|si"
  "cp1252|cp1252.xml|T|--ktemp|si"
  "marco-desconocido|latin1.xml|X|--ktemp|no"
)

# --- Running both programs --------------------------------------------------------------

folder_name="Año ñandú"
export_name="exportación ñ.xml"
ktemp_name="KTEMP ñ"

# run SIDE CASE_DIR VIA COMMAND: the program of SIDE in the case's folder of that side, with
# the export given by its absolute path (on Windows a path from the root of the current
# drive) and the exchange folder relative, given as VIA says. Prints the exit status.
run() {
  local side=$1 case_dir=$2 via=$3 command=$4
  shift 4
  local arguments=("$command" "$case_dir/$side/$folder_name/$export_name" "$@")
  local status=0
  echo "\$ zentrova-cli ${arguments[*]} ($via)" >>"$case_dir/$side.out"
  (
    cd "$case_dir/$side"
    if [ "$via" = --ktemp ]; then
      arguments+=(--ktemp "$folder_name/$ktemp_name")
    else
      export ZENTROVA_KTEMP="$folder_name/$ktemp_name"
    fi
    set -- "${arguments[@]}"
    if [ "$side" = linux ]; then
      "$linux_cli" "$@"
    else
      wine "$windows_cli" "$@"
    fi
  ) >>"$case_dir/$side.out" 2>&1 || status=$?
  echo "$status"
}

make_soluc() {
  "$python" - "$1" <<'PY'
import os, sys, dbf
from dbfread import DBF
k = sys.argv[1]
def rows(name): return list(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252'))
prof, asig, slots = rows('PROFT'), rows('ASIGT'), rows('DIASHORAST')
t = dbf.Table(os.path.join(k, 'SOLUC.DBF'),
              'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(1); ASIG C(10); CODGRUPO C(10); '
              'TAREA C(12); AULA C(10)', dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
for i, p in enumerate(prof):
    for j in range(i % 4):
        a = asig[(i * 3 + j) % len(asig)]
        s = slots[(i * 5 + j * 7) % len(slots)]
        t.append((p['ABREV'], int(s['DIA']), int(s['DIHO'][len(s['DIA']):]), s['MARCO'],
                  a['CASIG'], a['CGRUP'], 'CLASE' if j == 2 else '', 'Aula ñ%d' % j if j else ''))
t.close()
PY
}

# compare A B: every file under both folders, byte for byte but for the dates
# (scripts/without_dates.py).
compare() {
  "$python" - "$1" "$2" "$root/scripts" <<'PY'
import os, sys
sys.path.insert(0, sys.argv[3])
from without_dates import without_dates

def files(top):
    found = set()
    for folder, _, names in os.walk(top):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), top))
    return found

a, b = sys.argv[1:3]
names_a, names_b = files(a), files(b)
differences = []
for name in sorted(names_a ^ names_b):
    differences.append('%s: solo en %s' % (name, a if name in names_a else b))
for name in sorted(names_a & names_b):
    with open(os.path.join(a, name), 'rb') as fa, open(os.path.join(b, name), 'rb') as fb:
        da, db = fa.read(), fb.read()
    if without_dates(name, da) != without_dates(name, db):
        first = next((i for i, (x, y) in enumerate(zip(da, db)) if x != y), min(len(da), len(db)))
        differences.append('%s: distinto (%d y %d bytes, primera diferencia en la posición %d)'
                           % (name, len(da), len(db), first))
for line in differences:
    print('    ' + line)
if not differences:
    print('%d archivos iguales' % len(names_a))
sys.exit(1 if differences else 0)
PY
}

failed=0
check() {  # check WHAT CASE_DIR LINUX_STATUS WINDOWS_STATUS
  local what=$1 case_dir=$2
  if [ "$3" != "$4" ]; then
    echo "  $what: Linux terminó con $3 y Windows con $4"
    sed 's/^/    linux: /' "$case_dir/linux.out"
    sed 's/^/    windows: /' "$case_dir/windows.out"
    failed=1
  fi
  local result
  if result=$(compare "$case_dir/linux" "$case_dir/windows"); then
    echo "  $what (estado $3): $result"
  else
    echo "  $what: los archivos difieren"
    echo "$result"
    failed=1
  fi
}

start=$(date +%s)
for entry in "${cases[@]}"; do
  IFS='|' read -r name export marcos via importar <<<"$entry"
  echo "== $name"
  case_dir=$work/$name
  for side in linux windows; do
    mkdir -p "$case_dir/$side/$folder_name/$ktemp_name"
    cp "$work/exports/$export" "$case_dir/$side/$folder_name/$export_name"
  done
  linux_status=$(run linux "$case_dir" "$via" exportar --marcos "$marcos")
  windows_status=$(run windows "$case_dir" "$via" exportar --marcos "$marcos")
  check exportar "$case_dir" "$linux_status" "$windows_status"
  [ "$importar" = si ] || continue

  make_soluc "$case_dir/linux/$folder_name/$ktemp_name"
  cp "$case_dir/linux/$folder_name/$ktemp_name/SOLUC.DBF" "$case_dir/windows/$folder_name/$ktemp_name/"
  linux_status=$(run linux "$case_dir" "$via" importar)
  windows_status=$(run windows "$case_dir" "$via" importar)
  check importar "$case_dir" "$linux_status" "$windows_status"
done
echo "Comprobación cruzada en $(($(date +%s) - start)) s"
if [ "$failed" -ne 0 ]; then
  echo "Linux y Windows no escriben lo mismo (carpetas en $work)." >&2
  exit 1
fi
echo "Linux y Windows escriben lo mismo."
