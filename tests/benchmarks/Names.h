#pragma once

#include <benchmark/benchmark.h>

namespace benchmarks
{

/** The error of an editor benchmark while the product gives no editor of its own; expected,
    so it does not fail the run. */
inline constexpr const char* noEditor = "no editor";

/** The error of a resize benchmark whose editor does not take another size; expected. */
inline constexpr const char* keepsItsSize = "the editor keeps its size";

/** The counter of the benchmarks that open a view beside a live one: how many decoded
    faceplate pictures the two hold together. */
inline constexpr const char* faceplatePicturesCounter = "faceplatePictures";

} // namespace benchmarks

/** Registers a benchmark named "function/name", reported in microseconds, that calls the
    function with the arguments after the state. */
#define CASE_BENCHMARK(function, name, ...) \
    BENCHMARK_CAPTURE (function, name, __VA_ARGS__)->Unit (benchmark::kMicrosecond)

/** The same for a function that takes the state only. */
#define NAMED_BENCHMARK(function, name) \
    BENCHMARK (function)->Name (#function "/" #name)->Unit (benchmark::kMicrosecond)
