#!/usr/bin/env bash
# Builds the tests of the models, the run and the headless driver with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them. Any finding fails the script.
#   scripts/sanitize-tests.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS="${1:-$(nproc)}"
SAN="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# Warnings are the other build's business: the sanitizers make GCC warn falsely about uninitialized values.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$SAN" -DCMAKE_CXX_FLAGS="$SAN" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELARON_BUILD_BENCH=OFF -DVELARON_WERROR=OFF
# test_run starts velaron-calc itself, so the driver runs under the sanitizers too.
cmake --build build-asan --parallel "$JOBS" --target test_models test_run velaron-calc
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export VELARON_DATA_DIR="$PWD/build-asan/test-data"
for test in test_models test_run; do
  echo "== $test under AddressSanitizer and UndefinedBehaviorSanitizer"
  "build-asan/bin/$test" --gtest_brief=1
done
