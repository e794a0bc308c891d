#!/usr/bin/env bash
# Builds every test with clang's AddressSanitizer and UndefinedBehaviorSanitizer (the `asan`
# preset, build/asan, which holds the fuzz targets too) and runs them. Any report ends the
# test that made it, and this script fails.
# Leaks inside third-party libraries are suppressed by scripts/lsan.supp, never ours.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang-14 libclang-rt-14-dev
export QT_QPA_PLATFORM=offscreen
# Inherited by the programs the tests start, so they are checked as well.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan -j2
