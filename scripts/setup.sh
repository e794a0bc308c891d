#!/usr/bin/env bash
# Installs the Debian 12 packages that the build and the tests need, when they are missing,
# and those named as arguments (what another script needs besides).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n fonts-liberation2 fonts-dejavu-core
  libpugixml-dev libicu-dev libcli11-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fp-utils
  python3 python3-dbfread python3-dbf libxml2-utils time
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Instalando: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
