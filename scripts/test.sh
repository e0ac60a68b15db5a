#!/usr/bin/env bash
# Builds everything in Debug with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/asan and runs the whole test suite there; then builds the link tests, whose MIDI
# traffic crosses threads, with ThreadSanitizer into build/tsan and runs them there.
set -euo pipefail
cd "$(dirname "$0")/.."

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEQ713K_SANITIZE=ON -DEQ713K_BUILD_TESTS=ON
cmake --build build/asan --parallel "$(nproc)"
ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)" "$@"

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEQ713K_TSAN=ON -DEQ713K_BUILD_TESTS=ON
cmake --build build/tsan --parallel "$(nproc)" --target Eq713kLinkTests
# Only the link tests' directory: the other test programs are not built here.
ctest --test-dir build/tsan/tests/link --output-on-failure --parallel "$(nproc)" "$@"
