#!/usr/bin/env bash
# Builds the programs and every test binary with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (the benchmarks are left out) and runs all the tests there. The tests that start velaron-calc
# start the driver of this build, so its runs are checked as well. Any finding fails the script.
#   scripts/sanitize-tests.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS="${1:-$(nproc)}"
SAN="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# The options hold for the test listing at build time as for the runs, and pass on to the driver.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Warnings are the other build's business: the sanitizers make GCC warn falsely about uninitialized values.
# Light optimisation and line tables only keep the build short; the reports still name file and line.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$SAN" -DCMAKE_CXX_FLAGS="$SAN" \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELARON_BUILD_BENCH=OFF -DVELARON_WERROR=OFF
cmake --build build-asan --parallel "$JOBS"
ctest --test-dir build-asan --output-on-failure --parallel "$JOBS" --timeout 900
