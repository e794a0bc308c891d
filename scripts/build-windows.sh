#!/usr/bin/env bash
# Cross-builds the core, zentrova-cli and the window zentrova for 64-bit Windows on Debian 12
# into build/windows/ (zentrova.exe, zentrova-cli.exe, NIVELEX.DBF and VETRANA.chm in
# build/windows/bin/, linked statically), with the tests that run under Wine, and makes the
# packages: the installer build/windows/zentrova-VERSION-win64.exe (NSIS), the Windows
# Installer package build/windows/zentrova-VERSION-win64.msi (wixl, scripts/build-msi.sh) and
# build/windows/zentrova-VERSION-win64.zip of the program folder.
#
# Debian has no MinGW builds of ICU, pugixml or GoogleTest, so they are built from Debian's
# own sources into build/windows-deps/; each is built once and kept (a stamp file says it is
# done: delete build/windows-deps/stamps/NAME, or the whole folder, to build it again).
# CLI11 and nlohmann/json are header-only: their headers are copied beside the
# others, because the system's /usr/include (Linux's C library) must never reach the MinGW
# compiler.
#
# Environment: ZENTROVA_JOBS (parallel jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/windows-deps
out=$root/build/windows
jobs=${ZENTROVA_JOBS:-2}
triple=x86_64-w64-mingw32

log() { echo "== $*"; }

# --- Debian packages, installed only when missing ---------------------------------------

packages=(
  cmake ninja-build make g++ pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  icu-devtools googletest libcli11-dev nlohmann-json3-dev
  fp-utils python3 nsis wixl
)

run_as_root() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

install_packages() { bash "$root/scripts/install-packages.sh" "${packages[@]}"; }

# apt-get source needs deb-src entries: they are added for the Debian archive entries that
# are configured, with the same addresses, suites, components and keys.
enable_sources() {
  if apt-get indextargets --format '$(CREATED_BY)' | grep -qx Sources; then return 0; fi
  local list=/etc/apt/sources.list.d/zentrova-deb-src.sources
  local entries
  entries=$(
    for file in /etc/apt/sources.list.d/*.sources; do
      [ -f "$file" ] || continue
      # Each stanza of binary packages of the Debian archive, as a stanza of sources.
      awk -v RS= -v ORS='\n\n' '/(^|\n)Types:[^\n]*deb([ \t\n]|$)/ && /debian/ {
             sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$file"
    done
  )
  local lines=""
  if [ -f /etc/apt/sources.list ]; then
    lines=$(sed -n 's/^[[:space:]]*deb[[:space:]]\+\(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list)
  fi
  if [ -z "$entries" ] && [ -z "$lines" ]; then
    echo "No hay ninguna entrada del archivo de Debian en las fuentes de apt." >&2
    exit 1
  fi
  echo "Añadiendo las fuentes (deb-src) del archivo de Debian"
  if [ -n "$entries" ]; then printf '%s\n' "$entries" | run_as_root tee "$list" >/dev/null; fi
  if [ -n "$lines" ]; then
    printf '%s\n' "$lines" | run_as_root tee /etc/apt/sources.list.d/zentrova-deb-src.list >/dev/null
  fi
  run_as_root apt-get update -q
}

# --- Dependencies ------------------------------------------------------------------------

stamp() { echo "$deps/stamps/$1"; }

# Unpacks Debian's source package $1 under $deps/src and prints the folder it made.
fetch_source() {
  local package=$1
  mkdir -p "$deps/src"
  local found
  found=$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*" | sort | tail -n 1)
  if [ -z "$found" ]; then
    (cd "$deps/src" && apt-get source -q "$package" >&2)
    found=$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*" | sort | tail -n 1)
  fi
  [ -n "$found" ] || { echo "No se ha podido obtener el código fuente de $package." >&2; exit 1; }
  echo "$found"
}

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" "$@"
}

build_pugixml() {
  [ -f "$(stamp pugixml)" ] && return 0
  log "pugixml"
  local source
  source=$(fetch_source pugixml)
  rm -rf "$deps/work/pugixml"
  cross_cmake -S "$source" -B "$deps/work/pugixml" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
  cmake --build "$deps/work/pugixml" -j "$jobs"
  cmake --install "$deps/work/pugixml"
  touch "$(stamp pugixml)"
}

# From the sources that Debian's googletest package installs.
build_googletest() {
  [ -f "$(stamp googletest)" ] && return 0
  log "GoogleTest"
  rm -rf "$deps/work/googletest"
  cross_cmake -S /usr/src/googletest -B "$deps/work/googletest" -DBUILD_SHARED_LIBS=OFF \
    -Dgtest_disable_pthreads=OFF
  cmake --build "$deps/work/googletest" -j "$jobs"
  cmake --install "$deps/work/googletest"
  touch "$(stamp googletest)"
}

copy_header_only() {
  [ -f "$(stamp headers-json)" ] && return 0
  log "CLI11 y nlohmann/json (solo cabeceras)"
  mkdir -p "$deps/include"
  rm -rf "$deps/include/CLI" "$deps/include/nlohmann"
  cp -r /usr/include/CLI "$deps/include/CLI"
  cp -r /usr/include/nlohmann "$deps/include/nlohmann"
  touch "$(stamp headers-json)"
}

# Runs a long step with its output in a log file, shown only when the step fails.
quietly() {
  local log=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "Ha fallado: $* (registro completo en $log)" >&2
    exit 1
  fi
}

# ICU's common library only (the code uses nothing of i18n), static, cross-built after a
# native configure that gives the cross build its tool settings. Its data is a package of
# our own: the alias table and every single-byte converter (the code pages a table's
# language driver or an XML declaration may name; UTF-8, UTF-16, UTF-32, US-ASCII and
# ISO-8859-1 are built into the library), linked in as the library ICU looks for.
build_icu() {
  [ -f "$(stamp icu)" ] && return 0
  log "ICU (uc y datos de conversión)"
  local source native cross data
  source=$(fetch_source icu)/source
  native=$deps/work/icu-native
  cross=$deps/work/icu-cross
  data=$deps/work/icu-data
  rm -rf "$native" "$cross" "$data"
  mkdir -p "$native" "$cross" "$data/items"
  (
    cd "$native"
    quietly configure.log "$source/configure" --disable-layoutex --disable-icu-config \
      --disable-tests --disable-samples --disable-extras
    quietly make.log make config/icucross.mk config/icucross.inc
  )
  (
    cd "$cross"
    quietly configure.log "$source/configure" --host=$triple --with-cross-build="$native" \
      --prefix="$deps" --enable-static --disable-shared --disable-tools --disable-tests \
      --disable-samples --disable-extras --disable-icuio --disable-layoutex \
      --disable-icu-config --with-data-packaging=static \
      CC=$triple-gcc-posix CXX=$triple-g++-posix CFLAGS=-O2 CXXFLAGS=-O2
    mkdir -p lib bin
    quietly make.log make -j "$jobs" -C common
    quietly install.log make -C common install
  )
  # Named as elsewhere, so that CMake's FindICU finds it.
  mv "$deps/lib/libsicuuc.a" "$deps/lib/libicuuc.a"

  local full version item header_size max_bytes
  full=$(find "$source/data/in" -maxdepth 1 -name 'icudt*l.dat' | head -n 1)
  version=$(basename "$full" l.dat)  # icudt72
  (
    cd "$data"
    icupkg -l "$full" | grep -E '\.cnv$|^cnvalias\.icu$' >all.lst
    icupkg -x all.lst -d items "$full"
    echo cnvalias.icu >keep.lst
    # A converter's static data follows the data header: maxBytesPerChar is its 72nd byte.
    for item in items/*.cnv; do
      header_size=$(od -An -tu2 -N2 "$item" | tr -d ' ')
      max_bytes=$(od -An -tu1 -j $((header_size + 71)) -N1 "$item" | tr -d ' ')
      [ "$max_bytes" = 1 ] && basename "$item" >>keep.lst
    done
    icupkg -tl -a keep.lst -s items new "${version}l.dat"
    genccode -q -a gcc-mingw64 -e "$version" -d . "${version}l.dat"
    $triple-gcc-posix -c "${version}l_dat.S" -o "${version}l_dat.o"
    rm -f "$deps/lib/libicudata.a"
    $triple-ar rcs "$deps/lib/libicudata.a" "${version}l_dat.o"
    echo "Datos de ICU: $(($(wc -l <keep.lst) - 1)) conversores, $(stat -c %s "${version}l.dat") bytes"
  )
  touch "$(stamp icu)"
}

# --- The Windows build -------------------------------------------------------------------

# Wine runs the programs the build makes (NIVELEX.DBF) in a prefix of its own. A wineserver
# left running without a display would break later windows, so it is stopped at the end.
prepare_wine() {
  export WINEPREFIX=$out/wine WINEDEBUG=-all
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "Prefijo de Wine"
    mkdir -p "$WINEPREFIX"
    # Without its Mono and Gecko installers, which need a display and a download.
    WINEDLLOVERRIDES="mscoree,mshtml=" quietly "$out/wineboot.log" wineboot --init
  fi
  trap 'wineserver -k 2>/dev/null || true' EXIT
}

cross_build() {
  log "Zentrova para Windows"
  # The Qt window and the benchmarks are Linux's (see CMakeLists.txt); the window is the
  # native Win32 one, with its tests (scripts/windows-window-test.sh runs them). The other
  # tests run under Wine with ctest (scripts/windows-ci.sh).
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZENTROVA_BUILD_GUI=OFF -DZENTROVA_BUILD_TESTS=ON \
    -DZENTROVA_BUILD_BENCH=OFF -DZENTROVA_BUILD_WIN32_GUI=ON -DZENTROVA_BUILD_WIN32_GUI_TESTS=ON
  cmake --build "$out" -j "$jobs"
}

# The installer and the .zip, with CPack (NSIS: Debian's makensis), and the MSI package, into
# build/windows/.
make_packages() {
  log "Paquetes"
  (cd "$out" && quietly "$out/cpack.log" cpack -G "NSIS;ZIP")
  rm -rf "$out/_CPack_Packages"
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
  quietly "$out/msi.log" bash "$root/scripts/build-msi.sh" "$out/zentrova-$version-win64.msi"
}

# Only Windows' own DLLs may be imported: nothing needs to be shipped beside the program.
check_imports() {
  local program=$1 dll foreign=()
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll | user32.dll | advapi32.dll | shell32.dll | ole32.dll | msvcrt.dll | \
        ws2_32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | msimg32.dll | api-ms-win-*.dll) ;;
      *) foreign+=("$dll") ;;
    esac
  done < <($triple-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  if [ ${#foreign[@]} -gt 0 ]; then
    echo "$program necesita bibliotecas que Windows no trae: ${foreign[*]}" >&2
    exit 1
  fi
}

mkdir -p "$deps/stamps" "$out"
install_packages
enable_sources
started=$SECONDS
build_pugixml
build_googletest
build_icu
copy_header_only
log "Dependencias listas en $((SECONDS - started)) s"
started=$SECONDS
prepare_wine
cross_build
for program in zentrova-cli.exe zentrova.exe; do check_imports "$out/bin/$program"; done
for file in NIVELEX.DBF VETRANA.chm; do
  [ -f "$out/bin/$file" ] || { echo "Falta $out/bin/$file" >&2; exit 1; }
done
make_packages
log "Zentrova para Windows en $((SECONDS - started)) s: $out/bin/zentrova.exe" \
  "($(stat -c %s "$out/bin/zentrova.exe") bytes), zentrova-cli.exe" \
  "($(stat -c %s "$out/bin/zentrova-cli.exe") bytes), NIVELEX.DBF, VETRANA.chm;" \
  "$(cd "$out" && ls zentrova-*-win64.exe zentrova-*-win64.msi zentrova-*-win64.zip | tr '\n' ' ')"
