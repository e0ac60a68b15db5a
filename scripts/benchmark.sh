#!/usr/bin/env bash
# Builds the benchmarks in Release, without sanitizers, into build/bench and runs them. Arguments
# go to the benchmark program: --benchmark_filter=Editor, --benchmark_repetitions=5, ...
# Without arguments it then measures the MIDI layer on a real kernel's sequencer, in the virtual
# machine of tests/vm (about 40 s).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DEQ713K_BUILD_TESTS=ON
cmake --build build/bench --parallel "$(nproc)" --target Eq713kBenchmarks
build/bench/tests/benchmarks/Eq713kBenchmarks "$@"

if [ $# -eq 0 ]; then
    cmake --build build/bench --parallel "$(nproc)" --target Eq713kAlsaEndToEnd
    tests/vm/run-in-guest.sh build/bench/tests/vm/Eq713kAlsaEndToEnd --benchmark 10
fi
