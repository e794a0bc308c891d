#!/usr/bin/env bash
# Upgrades the Debian package with dpkg as an administrator would, in a throwaway copy of
# this system: an overlay of / whose changes go to a tmpfs, in a mount namespace of its own,
# so that the system itself (its dpkg database included) is never changed. Needs root (sudo
# otherwise), the package's dependencies installed here, xvfb, xauth and xdotool.
#   1. An older build (the package with a lower version) is installed and the administrator
#      puts a school's level table in place of the shipped one, as earlier versions said: the
#      upgrade to the package keeps it as the machine's own table in /var/lib/zentrova.
#   2. The school rebuilds its table with zentrova-cli nivelex (which writes it there); the
#      upgrade to a newer build (a higher version) leaves it byte for byte.
#   3. A normal user converts with the installed programs, which read the school's table:
#      zentrova-cli exportar, and the window in batch mode (under Xvfb, driven by xdotool),
#      which leaves its result code in the user's ~/.config/zentrova/Orbelin.ini since the
#      user cannot write in /usr/lib/zentrova.
#   4. Removing and purging the package leave the school's table.
# Usage: deb_upgrade_test.sh PACKAGE.deb SOURCE_DIR
set -euo pipefail

# --- Inside the copy, as root: the upgrades and the user's runs ----------------------------

inside_the_copy() {
  local here=$1 data=/var/lib/zentrova program=/usr/lib/zentrova user=nobody
  cd "$here"
  failures=0
  fail() { echo "  FALLO $*"; failures=$((failures + 1)); }
  check() {
    local what=$1
    shift
    if "$@"; then echo "  bien: $what"; else fail "$what"; fi
  }
  install_package() { dpkg -i "$1" >>dpkg.log 2>&1 || { tail -n 20 dpkg.log; exit 1; }; }
  study_of_305() {
    /usr/bin/python3 - "$1" <<'PY'
import sys
from dbfread import DBF
print(next(row['ESTUD'] for row in DBF(sys.argv[1], encoding='cp1252') if row['CLAVE'] == '305'))
PY
  }

  echo "== Una versión anterior, con la tabla del centro en $program"
  install_package anterior.deb
  zentrova-cli nivelex antigua.csv "$program/NIVELEX.DBF" >/dev/null
  cp "$program/NIVELEX.DBF" antigua.dbf
  install_package actual.deb
  check "la actualización pasa la tabla del centro a $data, byte a byte" \
    cmp -s "$data/NIVELEX.DBF" antigua.dbf
  check "$program/NIVELEX.DBF vuelve a ser la del paquete" dpkg --verify zentrova

  echo "== La tabla del centro rehecha con zentrova-cli nivelex y otra versión más nueva"
  zentrova-cli nivelex centro.csv >nivelex.out
  check "zentrova-cli nivelex escribe en $data/NIVELEX.DBF" grep -q "^$data/NIVELEX.DBF: " nivelex.out
  cp "$data/NIVELEX.DBF" centro.dbf
  install_package nuevo.deb
  check "instalada la versión $(dpkg-deb --field nuevo.deb Version)" \
    [ "$(dpkg-query -W -f '${Version}' zentrova)" = "$(dpkg-deb --field nuevo.deb Version)" ]
  check "la tabla del centro sigue igual, byte a byte" cmp -s "$data/NIVELEX.DBF" centro.dbf

  echo "== Un usuario normal ($user)"
  local home=$here/usuario
  mkdir -p "$home/ktemp-cli" "$home/ktemp"
  cp una-jornada.xml "$home/"
  chown -R "$user" "$home"
  as_user() {
    setpriv --reuid="$user" --regid=nogroup --clear-groups \
      env -i PATH=/usr/bin:/bin HOME="$home" LC_ALL=C.UTF-8 "$@"
  }
  as_user zentrova-cli exportar "$home/una-jornada.xml" --ktemp "$home/ktemp-cli" >cli.out 2>&1 ||
    fail "zentrova-cli exportar: $(cat cli.out)"
  check "zentrova-cli lee la tabla del centro" \
    [ "$(study_of_305 "$home/ktemp-cli/CURSOST.DBF")" = "Estudio del centro" ]
  as_user timeout 60 xvfb-run -a bash "$here/ventana.sh" "$home/una-jornada.xml" "$home/ktemp" \
    >ventana.out 2>&1 || fail "la ventana en ejecución desde otro programa: $(cat ventana.out)"
  check "la ventana lee la tabla del centro" \
    [ "$(study_of_305 "$home/ktemp/CURSOST.DBF")" = "Estudio del centro" ]
  check "el código de resultado queda en ~/.config/zentrova/Orbelin.ini" \
    [ "$(cat "$home/.config/zentrova/Orbelin.ini" 2>/dev/null)" = $'[Transformadores]\r\nTransformado=1\r' ]
  check "nada escrito en $program" [ ! -e "$program/Orbelin.ini" ]

  echo "== Quitar el paquete"
  dpkg --remove zentrova >>dpkg.log 2>&1
  check "dpkg --remove deja la tabla del centro" cmp -s "$data/NIVELEX.DBF" centro.dbf
  dpkg --purge zentrova >>dpkg.log 2>&1
  check "dpkg --purge también" cmp -s "$data/NIVELEX.DBF" centro.dbf
  check "$program quitada" [ ! -e "$program" ]
  return "$failures"
}

# The window as the timetabling product starts it: the export typed into the file dialog,
# then "Proceso finalizado" answered; it closes by itself.
write_window_driver() {
  cat >"$1" <<'SH'
set -euo pipefail
ZENTROVA_KTEMP=$2 zentrova exportar x &
window=$!
dialog=$(xdotool search --sync --limit 1 --onlyvisible --name 'Seleccionar Archivo XML')
xdotool windowfocus --sync "$dialog" sleep 0.3 type --delay 10 "$1"
xdotool key Return
message=$(xdotool search --sync --limit 1 --onlyvisible --name '^Zentrova$')
xdotool windowfocus --sync "$message" sleep 0.3 key Return
wait "$window"
SH
}

if [ "${1:-}" = --inside ]; then
  inside_the_copy "$2"
  exit
fi

# --- Outside: the packages and the copy of the system ------------------------------------

deb=$(realpath "$1")
source=$(realpath "$2")
if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$@"; fi
if [ "${3:-}" != --namespace ]; then
  exec unshare --mount --propagation private "$0" "$deb" "$source" --namespace
fi

started=$SECONDS
tmp=$(mktemp -d)
mount -t tmpfs tmpfs "$tmp"
mkdir "$tmp/upper" "$tmp/work" "$tmp/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$tmp/upper,workdir=$tmp/work" "$tmp/root"
copy=$tmp/root
mount --rbind /dev "$copy/dev"
mount -t proc proc "$copy/proc"
here=/tmp/zentrova-actualizacion
mkdir -p "$copy$here"
chmod 755 "$copy$here"

# The package, an older and a newer build of it: the same files, lower and higher versions.
version=$(dpkg-deb --field "$deb" Version)
repack() {
  local unpacked=$tmp/unpacked
  rm -rf "$unpacked"
  dpkg-deb --raw-extract "$deb" "$unpacked"
  sed -i "s/^Version: .*/Version: $1/" "$unpacked/DEBIAN/control"
  dpkg-deb --root-owner-group --build "$unpacked" "$2" >/dev/null
}
cp "$deb" "$copy$here/actual.deb"
repack "$version~anterior" "$copy$here/anterior.deb"
repack "$version+nuevo" "$copy$here/nuevo.deb"
printf 'X_OFERTAMATRIG;NIVEL_ABREV;ESTUDIO\n305;ANT;Estudio anterior\n' >"$copy$here/antigua.csv"
printf 'X_OFERTAMATRIG;NIVEL_ABREV;ESTUDIO\n305;CEN;Estudio del centro\n' >"$copy$here/centro.csv"
# The sample with its morning frame alone, so that the window asks for no frame.
LC_ALL=C sed 's|<grupo_datos><dato nombre_dato="X_JORNADA">T</dato>.*</grupo_datos></grupo_datos>|</grupo_datos>|' \
  "$source/data/muestra/instituto.xml" >"$copy$here/una-jornada.xml"
write_window_driver "$copy$here/ventana.sh"
cp "$0" "$copy$here/prueba.sh"

status=0
chroot "$copy" bash "$here/prueba.sh" --inside "$here" || status=$?
echo "== Prueba de la actualización del paquete en $((SECONDS - started)) s"
# What is left goes with the mount namespace when this script ends.
umount -R -l "$copy" || true
umount -l "$tmp" || true
rmdir "$tmp" 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "Han fallado $status comprobaciones de la actualización." >&2
  exit 1
fi
echo "Todo correcto."
