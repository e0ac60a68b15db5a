#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace benchmarks
{

/** Times the work as this iteration's time, for a benchmark that keeps set-up and clean-up of
    each iteration out of what it measures (registered with UseManualTime). */
template <typename Work>
void timeIteration (benchmark::State& state, Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    state.SetIterationTime (std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count());
}

} // namespace benchmarks
