#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer;
# the `asan` preset, build/asan, that scripts/test-sanitizers.sh builds as well) and runs each
# for ZENTROVA_FUZZ_SECONDS (60 by default) over a seed corpus made from the repository's
# fixtures and the inputs kept in fuzz/corpus. Fails on any crash, leak, timeout or undefined
# behaviour; the input that caused it is kept in build/fuzz/findings/<target>/ (reproduce:
# build/asan/bin/<target> FILE), the fuzzer's output in build/fuzz/findings/<target>.log.
#   ZENTROVA_FUZZ_TARGETS  the targets to run (default: all six)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang-14 libclang-rt-14-dev

seconds="${ZENTROVA_FUZZ_SECONDS:-60}"
targets=(${ZENTROVA_FUZZ_TARGETS:-dbf_read_fuzz xml_load_fuzz exportar_fuzz importar_fuzz journal_fuzz ini_fuzz})
build=build/fuzz
bin=build/asan/bin

cmake --preset asan >/dev/null
cmake --build --preset asan -j2 --target "${targets[@]}" zentrova-cli nivelex_table

# Seed corpora, made anew each time: the inputs the repository keeps (fuzz/corpus/<kind>:
# earlier findings and files no fixture makes), the sample export and the test exports, the
# tables the program makes of the sample, and tables python3-dbf writes (fuzz/seeds.py).
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{dbf,xml,soluc,journal,ini}
for kind in dbf xml soluc journal ini; do
  if [ -n "$(ls -A "fuzz/corpus/$kind" 2>/dev/null)" ]; then cp "fuzz/corpus/$kind"/* "$seeds/$kind/"; fi
done
cp data/muestra/instituto.xml tests/data/revisar/*.xml "$seeds/xml/"
ktemp="$seeds/ktemp"
mkdir -p "$ktemp"
"$bin/zentrova-cli" exportar data/muestra/instituto.xml \
  --ktemp "$ktemp" --nivelex "$bin/NIVELEX.DBF" --marcos M,T >/dev/null
cp "$ktemp"/*.DBF "$ktemp"/*.MDX "$bin/NIVELEX.DBF" "$seeds/dbf/"
/usr/bin/python3 fuzz/seeds.py "$ktemp" "$seeds"

seeds_of() {
  case "$1" in
    dbf_read_fuzz) echo "$seeds/dbf" ;;
    xml_load_fuzz | exportar_fuzz) echo "$seeds/xml" ;;
    importar_fuzz) echo "$seeds/soluc" ;;
    journal_fuzz) echo "$seeds/journal" ;;
    ini_fuzz) echo "$seeds/ini" ;;
  esac
}

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536
           -print_final_stats=1 -artifact_prefix="$findings/")
  case "$target" in xml_load_fuzz | exportar_fuzz) options+=(-dict=fuzz/xml.dict) ;; esac
  echo "== $target: ${seconds} s"
  if ! "$bin/$target" "${options[@]}" "$corpus" "$(seeds_of "$target")" \
       >"$findings/../$target.log" 2>&1 ||
     [ -n "$(ls -A "$findings")" ]; then
    tail -n 60 "$findings/../$target.log"
    echo "FALLO: $target; entradas en $findings"
    failed+=("$target")
  else
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' \
      "$findings/../$target.log" | tr '\n' ' '
    echo
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing con hallazgos: ${failed[*]}"
  exit 1
fi
