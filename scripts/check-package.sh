#!/usr/bin/env bash
# Builds the release packages (preset "package": the programs without tests) and checks them
# as a Debian system sees them: lintian reports no error and no warning on the .deb, whose
# changelog names its version and maintainer, which leaves Qt's Spanish texts to
# qt6-translations-l10n while the .tar.gz carries them, and whose stripped programs run.
# Then the .deb is upgraded with dpkg in a throwaway copy of this system
# (tests/install/deb_upgrade_test.sh, as root): the school's level table survives, and a
# normal user's runs read it and leave their result code where the user can write.
# Usage: scripts/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-dev: the package's library dependencies (dpkg-shlibdeps) and dpkg-parsechangelog;
# xvfb, xauth and xdotool: the window driven in the upgrade test.
bash scripts/setup.sh lintian dpkg-dev xvfb xauth xdotool
cmake --preset package >/dev/null
cmake --build --preset package
build=build/package
rm -f "$build"/zentrova_*.deb "$build"/zentrova-*.tar.gz
(cd "$build" && cpack -G 'DEB;TGZ' >/dev/null)
deb=$(ls "$build"/zentrova_*.deb)
tgz=$(ls "$build"/zentrova-*.tar.gz)
fail() { echo "$deb: $*" >&2; exit 1; }

# Lintian's informational tags are shown; an error or a warning fails the check.
lintian --display-info --tag-display-limit 0 --fail-on error,warning "$deb" ||
  fail "lintian informa de errores o avisos"

field() { dpkg-deb --field "$deb" "$1"; }
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/share/doc/zentrova/copyright ./usr/share/doc/zentrova/changelog.gz \
  ./usr/share/man/man1/zentrova.1.gz ./usr/share/man/man1/zentrova-cli.1.gz \
  ./usr/share/man/es/man1/zentrova.1.gz ./usr/share/man/es/man1/zentrova-cli.1.gz; do
  grep -qxF "$path" <<<"$contents" || fail "falta $path"
done
! grep -q '\.qm$' <<<"$contents" || fail "lleva traducciones de Qt que da qt6-translations-l10n"
grep -q 'qt6-translations-l10n' <<<"$(field Depends)" || fail "no depende de qt6-translations-l10n"
grep -q '/translations/qtbase_es\.qm$' <<<"$(tar -tzf "$tgz")" || fail "$tgz no lleva qtbase_es.qm"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root/deb"
zcat "$root/deb/usr/share/doc/zentrova/changelog.gz" >"$root/changelog"
[ "$(dpkg-parsechangelog -l "$root/changelog" -S Version)" = "$(field Version)" ] ||
  fail "la última entrada del changelog no es la versión $(field Version)"
[ "$(dpkg-parsechangelog -l "$root/changelog" -S Maintainer)" = "$(field Maintainer)" ] ||
  fail "el changelog y el paquete nombran responsables distintos"

# The stripped programs of both packages (lintian checks the .deb's) still run from bin.
mkdir -p "$root/tgz"
tar -xzf "$tgz" -C "$root/tgz"
for program in "$root"/tgz/*/lib/zentrova/zentrova{,-cli}; do
  if readelf --section-headers "$program" | grep -q '\.symtab'; then
    fail "$tgz: ${program##*/} lleva su tabla de símbolos"
  fi
done
for bin in "$root/deb/usr/bin" "$root"/tgz/*/bin; do
  mkdir "$bin/../ktemp"
  "$bin/zentrova-cli" exportar data/muestra/instituto.xml --ktemp "$bin/../ktemp" --marcos M,T \
    >"$bin/../exportar.out"
  grep -qx 'Proceso finalizado' "$bin/../exportar.out" || fail "$bin/zentrova-cli exportar no termina"
done
echo "== Actualización del paquete con dpkg"
bash tests/install/deb_upgrade_test.sh "$deb" "$PWD"
echo "paquetes correctos: $deb $tgz"
