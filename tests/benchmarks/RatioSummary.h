#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace benchmarks
{

/** The console report, followed by the goals: each measured time set against its baseline
    from the same run, and the counters that goals are stated in. Benchmarks are named by
    their function and case ("EditorFullRepaint/product"), without the time-type suffix.

    It also tells whether a benchmark ended in an error that is not among the expected ones
    (such as the product having no editor yet): then the run measured less than it should. */
class RatioSummary : public benchmark::ConsoleReporter
{
public:
    struct Ratio
    {
        std::string what;
        std::string measured;
        std::string baseline;
        double highestMeetingGoal = 0.0; // 0: no goal, shown for information
    };

    struct Count
    {
        std::string what;
        std::string benchmark;
        std::string counter;
        std::optional<double> goal;
    };

    RatioSummary (std::vector<Ratio> ratios, std::vector<Count> counts, std::set<std::string> expectedErrors);

    void ReportRuns (const std::vector<Run>& runs) override;
    void Finalize() override;

    int unexpectedErrors() const noexcept { return (int) unexpected.size(); }

private:
    struct Result
    {
        std::vector<double> iterationSeconds;
        std::optional<double> medianSeconds;
        benchmark::UserCounters counters;
        std::string error;
    };

    void record (const Run& run);
    std::optional<double> secondsPerIteration (const std::string& name) const;
    std::string whyNotMeasured (const std::string& name) const;
    void printRatio (const Ratio& ratio);
    void printCount (const Count& count);

    const std::vector<Ratio> ratios;
    const std::vector<Count> counts;
    const std::set<std::string> expectedErrors;
    std::map<std::string, Result> results;
    std::vector<std::string> unexpected;
};

} // namespace benchmarks
