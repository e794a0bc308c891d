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

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
