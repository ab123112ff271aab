#!/usr/bin/env bash
# The test suite built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails it.
# The desktop backend stays out: GTK's own caches for the process show as leaks, and its tests
# run in the plain build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build-asan -DZEPHREL_SANITIZE=ON -DZEPHREL_BENCH=OFF -DZEPHREL_GTK=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
