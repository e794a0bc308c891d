#!/usr/bin/env bash
# Tests the Win32 window (zentrova.exe's TMForm and TPlantillas) under Wine with a virtual
# display: zentrova_win32_window_test.exe creates the windows in its own process and drives
# their controls with messages, answering the file dialog, message boxes and the time-frame
# dialog as a user would. Then the files it left are checked on the Linux side:
#   - the tables of the first direction in batch mode, counted with python3-dbfread;
#   - the tables and the result document of both directions on the sample, compared byte for
#     byte (the dates aside) with what the Linux zentrova-cli writes for the same export,
#     frame and SOLUC; the result document also with xmllint.
# SOLUC.DBF, which the timetabling product would compute, is made by python3-dbf from the
# Linux program's tables and given to the window test.
# The controls' geometry is checked a second time at 144 DPI. Some tests leave pictures of the
# windows as the screen shows them in build/windows-window-test/pictures/.
#
# Builds what is missing: the Windows programs (scripts/build-windows.sh) and the Linux
# zentrova-cli (build/debug). Exits non-zero when a test or a check fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/windows-window-test
python=/usr/bin/python3  # Debian's, which python3-dbf and python3-dbfread are installed for
started=$SECONDS

# --- What the tests need ------------------------------------------------------------------

bash scripts/install-packages.sh xvfb xauth python3-dbf python3-dbfread libxml2-utils

bash scripts/build-windows.sh
test_exe=$root/build/windows/bin/zentrova_win32_window_test.exe
linux_cli=${ZENTROVA_LINUX_CLI:-$root/build/debug/bin/zentrova-cli}
if [ ! -x "$linux_cli" ] || [ ! -f "$(dirname "$linux_cli")/NIVELEX.DBF" ]; then
  bash scripts/setup.sh
  cmake --preset debug >/dev/null
  cmake --build --preset debug --target zentrova-cli nivelex_table
fi

# --- The Linux side's run: the reference files and SOLUC ----------------------------------

rm -rf "$work"
mkdir -p "$work/linux/ktemp" "$work/out"
cp data/muestra/instituto.xml "$work/linux/instituto.xml"
"$linux_cli" exportar "$work/linux/instituto.xml" --ktemp "$work/linux/ktemp" --marcos M \
  >"$work/linux/exportar.out"

# SOLUC as the timetabling product leaves it: one lesson of the first assignment's group and
# subject, taught by the first teacher in the first slot of frame 0.
"$python" tests/support/first_lesson_soluc.py "$work/linux/ktemp"
cp "$work/linux/ktemp/SOLUC.DBF" "$work/SOLUC.DBF"
# The reference tables are those of the first direction, as the window's copy of them.
mkdir -p "$work/linux/exportar"
find "$work/linux/ktemp" -maxdepth 1 -type f ! -name SOLUC.DBF -exec cp {} "$work/linux/exportar/" \;
"$linux_cli" importar "$work/linux/instituto.xml" --ktemp "$work/linux/ktemp" \
  >"$work/linux/importar.out"

# --- The window tests under Wine ------------------------------------------------------------

export WINEPREFIX=$root/build/windows/wine WINEDEBUG=-all
# Wine passes the environment on in the locale's character set.
export LC_ALL=C.UTF-8
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
export ZENTROVA_WINDOW_TEST_SOLUC ZENTROVA_WINDOW_TEST_OUTPUT ZENTROVA_WINDOW_TEST_PICTURES
ZENTROVA_WINDOW_TEST_SOLUC=$(windows_path "$work/SOLUC.DBF")
ZENTROVA_WINDOW_TEST_OUTPUT=$(windows_path "$work/out")
# The windows as the virtual screen shows them (BMP), for a person to look at.
ZENTROVA_WINDOW_TEST_PICTURES=$(windows_path "$work/pictures")

# A wineserver started without a display would keep every later window from appearing.
wineserver -k 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
cat >"$work/run.sh" <<'EOF'
set -u
dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
# Windows that no window manager handles appear and go at once (with none in xvfb, Wine would
# wait for one at every window that is hidden).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
dpi 96
wine "$1" --gtest_color=no
status=$?
echo "== Otra vez los controles, a 144 DPI"
dpi 144
wine "$1" --gtest_color=no --gtest_filter='*ControlsAsTheTableGivesThem*:*KeyboardTabOrder*'
[ $? -eq 0 ] || status=1
dpi 96
wineserver -w
exit $status
EOF
echo "== Pruebas de la ventana (Wine, xvfb-run)"
window_status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/run.sh" "$test_exe" || window_status=1

# --- Checks on the Linux side ---------------------------------------------------------------

echo "== Comprobaciones en Linux"
check_status=0
"$python" - "$work" "$root/scripts" <<'PY' || check_status=1
import os, subprocess, sys
from dbfread import DBF
sys.path.insert(0, sys.argv[2])
from without_dates import without_dates

work = sys.argv[1]
out = os.path.join(work, 'out')
failures = []

def same_files(what, windows, linux):
    names_w, names_l = set(os.listdir(windows)), set(os.listdir(linux))
    for name in sorted(names_w ^ names_l):
        failures.append('%s: %s solo en %s' % (what, name, 'Windows' if name in names_w else 'Linux'))
    for name in sorted(names_w & names_l):
        with open(os.path.join(windows, name), 'rb') as a, open(os.path.join(linux, name), 'rb') as b:
            if without_dates(name, a.read()) != without_dates(name, b.read()):
                failures.append('%s: %s es distinto' % (what, name))
    print('  %s: %d archivos comparados' % (what, len(names_w & names_l)))

# The first direction in batch mode, with the test's own level table of two course offers.
batch = os.path.join(out, 'primera-en-lotes')
expected = {'ASIGNOMT': 31, 'PROFT': 12, 'AULAT': 11, 'CURSOST': 6, 'GRUPOST': 9, 'ASIGT': 71,
            'DIASHORAST': 77, 'PERIODOS': 2}
if not os.path.isdir(batch):
    failures.append('primera-en-lotes: la prueba no dejó las tablas')
else:
    for name, rows in expected.items():
        found = len(list(DBF(os.path.join(batch, name + '.DBF'), encoding='cp1252')))
        if found != rows:
            failures.append('primera-en-lotes: %s tiene %d filas, no %d' % (name, found, rows))
    print('  primera-en-lotes: filas contadas con dbfread')

# Both directions on the sample, against the Linux program's files.
for what, linux in (('exportar', os.path.join(work, 'linux', 'exportar')),):
    windows = os.path.join(out, what)
    if os.path.isdir(windows):
        same_files(what, windows, linux)
    else:
        failures.append('%s: la prueba no dejó las tablas' % what)
result = os.path.join(out, 'importar', 'ResultadoOrbelininstituto.xml')
reference = os.path.join(work, 'linux', 'ResultadoOrbelininstituto.xml')
if os.path.isfile(result):
    lint = subprocess.run(['xmllint', '--noout', result], capture_output=True, text=True)
    if lint.returncode != 0:
        failures.append('importar: xmllint: ' + lint.stderr.strip())
    with open(result, 'rb') as a, open(reference, 'rb') as b:
        if without_dates('ResultadoOrbelin', a.read()) != without_dates('ResultadoOrbelin', b.read()):
            failures.append('importar: el documento difiere del de Linux')
    print('  importar: documento comparado con el de Linux y revisado con xmllint')
else:
    failures.append('importar: la prueba no dejó el documento')

for line in failures:
    print('  FALLO ' + line)
sys.exit(1 if failures else 0)
PY

echo "== Pruebas de la ventana de Windows en $((SECONDS - started)) s"
if [ $window_status -ne 0 ] || [ $check_status -ne 0 ]; then
  echo "Han fallado pruebas de la ventana de Windows." >&2
  exit 1
fi
echo "Todo correcto."
