#!/usr/bin/env bash
# Builds everything in Debug with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/asan and runs the whole test suite there; then builds everything again with
# ThreadSanitizer into build/tsan and runs the whole suite there too (hosts call the plug-in
# from threads of their own, and the MIDI traffic crosses threads); last it builds the state
# reader's fuzz target with clang into build/fuzz and fuzzes it for a while. Between the two
# suites it builds the benchmarks in build/asan and runs each once, briefly. The tests that open
# the editor in a host's window and start the Standalone run each on a private X server (Xvfb), and
# so does the program that keeps screenshots of the editor (their file names are printed).
set -euo pipefail
cd "$(dirname "$0")/.."

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEQ713K_SANITIZE=ON -DEQ713K_BUILD_TESTS=ON
cmake --build build/asan --parallel "$(nproc)"
ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)" "$@"

# The screenshots test keeps pictures of the editor on its X server, for a person to look at.
if compgen -G "build/asan/screenshots/*.png" > /dev/null; then
    echo "Screenshots of the editor:"
    ls -1 "$PWD"/build/asan/screenshots/*.png
fi

# The benchmarks are not part of the verdict: they are built and run once, briefly, so that they
# keep working. Built only now, so that a broken benchmark never stands before a test result.
# A benchmark program that does not build, crashes, is stopped by a sanitizer, hits a framework
# assertion or ends a benchmark in an unexpected error still fails the run, at its end; slow
# numbers never do.
benchmarks_failed=0
if ! cmake --build build/asan --parallel "$(nproc)" --target Eq713kBenchmarks \
   || ! build/asan/tests/benchmarks/Eq713kBenchmarks --benchmark_min_time=0.01 2>&1 | tee build/asan/benchmarks-last-run.log; then
    benchmarks_failed=1
    echo "The benchmark program failed (see build/asan/benchmarks-last-run.log); the tests go on"
fi

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEQ713K_TSAN=ON -DEQ713K_BUILD_TESTS=ON
cmake --build build/tsan --parallel "$(nproc)"
ctest --test-dir build/tsan --output-on-failure --parallel "$(nproc)" "$@"

# jalv cannot load a sanitized plug-in (it hangs in gtk_init with a sanitizer's runtime
# preloaded), so the checks in jalv (its window; the parameter values it holds) run on the
# Release build, brought up to date here.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DEQ713K_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)" --target Eq713k_LV2
release_lv2=$(echo "$PWD"/build/release/Eq713k_artefacts/Release/LV2/*.lv2)
release_lv2_uri=$(LV2_PATH="$(dirname "$release_lv2")" lv2ls | head -n 1)
bash tests/support/with-xvfb.sh tests/hosts/jalv-window-size.sh "$release_lv2" "$release_lv2_uri"
bash tests/support/with-xvfb.sh tests/hosts/lv2-host-values.sh "$release_lv2" "$release_lv2_uri" tests/hosts/lv2-state

# libFuzzer needs clang. The shared code is built there with the fuzzer's coverage; the run
# starts from the checked-in seeds and keeps what it finds in the build directory.
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DEQ713K_SANITIZE=ON -DEQ713K_BUILD_TESTS=OFF -DEQ713K_BUILD_FUZZERS=ON
cmake --build build/fuzz --parallel "$(nproc)" --target Eq713kStateFuzzer
mkdir -p build/fuzz/corpus
if ! build/fuzz/tests/fuzz/Eq713kStateFuzzer -max_total_time="${EQ713K_FUZZ_SECONDS:-30}" -timeout=10 \
        -dict=tests/fuzz/state.dict -artifact_prefix=build/fuzz/ build/fuzz/corpus tests/fuzz/corpus \
        > build/fuzz/last-run.log 2>&1; then
    tail -n 80 build/fuzz/last-run.log
    echo "The state fuzzer failed; the input that broke it is in build/fuzz/ (see build/fuzz/last-run.log)"
    exit 1
fi
tail -n 1 build/fuzz/last-run.log

if [ "$benchmarks_failed" -ne 0 ]; then
    echo "Every test passed, but the benchmark program failed: see build/asan/benchmarks-last-run.log"
    exit 1
fi
