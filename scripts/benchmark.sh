#!/usr/bin/env bash
# Builds the benchmarks in Release, without sanitizers, into build/bench and runs them. Arguments
# go to the benchmark program: --benchmark_filter=Editor, --benchmark_repetitions=5, ...
#
# With --instructions as the first argument it also counts, under valgrind's callgrind, the
# instructions of each phase of opening an editor in a fresh process (first editor of the process,
# reopened with nothing alive, a second instance's beside an open one, a full repaint), the
# product's beside the framework's generic editor, with times and heap held per editor. Counts
# hold on a loaded machine, where times vary from run to run. --instructions-only skips the timed
# benchmarks. Without any argument it then measures the MIDI layer on a real kernel's sequencer,
# in the virtual machine of tests/vm (about 40 s).
set -euo pipefail
cd "$(dirname "$0")/.."

instructions=0
timed=1
case "${1:-}" in
    --instructions) instructions=1; shift ;;
    --instructions-only) instructions=1; timed=0; shift ;;
esac

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DEQ713K_BUILD_TESTS=ON
targets=()
[ "$timed" -eq 1 ] && targets+=(Eq713kBenchmarks)
[ "$instructions" -eq 1 ] && targets+=(Eq713kEditorCosts)
cmake --build build/bench --parallel "$(nproc)" --target "${targets[@]}"

if [ "$timed" -eq 1 ]; then
    build/bench/tests/benchmarks/Eq713kBenchmarks "$@"
fi

if [ "$instructions" -eq 1 ]; then
    if ! command -v valgrind > /dev/null; then
        echo "valgrind is not installed: no instruction counts" >&2
        exit 1
    fi

    costs=build/bench/tests/benchmarks/Eq713kEditorCosts
    out=build/bench/callgrind
    rm -rf "$out"
    mkdir -p "$out"

    echo
    echo "Times and heap, each editor kind in a fresh process:"
    for kind in product generic; do
        echo "  $kind:"
        env -u DISPLAY "$costs" "$kind" | sed 's/^/    /'
    done

    echo
    echo "Instructions (callgrind), each editor kind in a fresh process:"
    for kind in product generic; do
        env -u DISPLAY valgrind --tool=callgrind --callgrind-out-file="$out/$kind.%p" "$costs" "$kind" > /dev/null 2> "$out/$kind.log"
        for file in "$out/$kind".*; do
            case "$file" in *.log) continue ;; esac
            phase=$(sed -n 's/^desc: Trigger: Client Request: //p' "$file")
            count=$(sed -n 's/^summary: //p' "$file")
            [ -n "$phase" ] && printf '%s %s %s\n' "$kind" "$phase" "$count"
        done
    done | sort -k1,1r -s | awk '
        { n[$1 " " $2] = $3; order[++k] = $1 " " $2 }
        END {
            for (i = 1; i <= k; ++i) printf "  %-16s %10.1f M instructions\n", order[i], n[order[i]] / 1e6
            if (("product first" in n) && ("generic first" in n))
                printf "  first editor of a process, product / generic: %.2f\n", n["product first"] / n["generic first"]
            if (("product repaint" in n) && ("generic repaint" in n))
                printf "  full repaint, product / generic: %.2f\n", n["product repaint"] / n["generic repaint"]
        }'
fi

if [ $# -eq 0 ] && [ "$instructions" -eq 0 ]; then
    cmake --build build/bench --parallel "$(nproc)" --target Eq713kAlsaEndToEnd
    tests/vm/run-in-guest.sh build/bench/tests/vm/Eq713kAlsaEndToEnd --benchmark 10
fi
