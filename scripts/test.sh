#!/usr/bin/env bash
# Builds everything in Debug with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/asan and runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEQ713K_SANITIZE=ON -DEQ713K_BUILD_TESTS=ON
cmake --build build/asan --parallel "$(nproc)"
ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)" "$@"
