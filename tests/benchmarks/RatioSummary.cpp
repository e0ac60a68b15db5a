#include "RatioSummary.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <ostream>
#include <unistd.h>

namespace benchmarks
{

namespace
{

benchmark::ConsoleReporter::OutputOptions consoleOptions()
{
    return isatty (fileno (stdout)) ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular;
}

std::string formatted (const char* format, double value)
{
    char text[64];
    std::snprintf (text, sizeof (text), format, value);
    return text;
}

std::string microseconds (double seconds)
{
    return formatted ("%.1f us", seconds * 1.0e6);
}

} // namespace

RatioSummary::RatioSummary (std::vector<Ratio> ratiosToShow, std::vector<Count> countsToShow, std::set<std::string> expected)
    : benchmark::ConsoleReporter (consoleOptions()),
      ratios (std::move (ratiosToShow)),
      counts (std::move (countsToShow)),
      expectedErrors (std::move (expected))
{
}

void RatioSummary::ReportRuns (const std::vector<Run>& runs)
{
    for (const auto& run : runs)
        record (run);

    benchmark::ConsoleReporter::ReportRuns (runs);
}

void RatioSummary::record (const Run& run)
{
    auto& result = results[run.run_name.function_name];

    if (run.error_occurred)
    {
        result.error = run.error_message;

        const auto described = run.run_name.function_name + ": " + run.error_message;

        // Each repetition reports its error again.
        if (expectedErrors.count (run.error_message) == 0
            && std::find (unexpected.begin(), unexpected.end(), described) == unexpected.end())
            unexpected.push_back (described);

        return;
    }

    const auto seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier (run.time_unit);

    if (run.run_type == Run::RT_Aggregate)
    {
        // With repetitions the median of them stands for the benchmark.
        if (run.aggregate_name == "median")
        {
            result.medianSeconds = seconds;
            result.counters = run.counters;
        }

        return;
    }

    result.iterationSeconds.push_back (seconds);

    if (! result.medianSeconds)
        result.counters = run.counters;
}

std::optional<double> RatioSummary::secondsPerIteration (const std::string& name) const
{
    const auto found = results.find (name);

    if (found == results.end() || ! found->second.error.empty())
        return {};

    const auto& result = found->second;

    if (result.medianSeconds)
        return result.medianSeconds;

    if (result.iterationSeconds.empty())
        return {};

    return std::accumulate (result.iterationSeconds.begin(), result.iterationSeconds.end(), 0.0)
         / (double) result.iterationSeconds.size();
}

std::string RatioSummary::whyNotMeasured (const std::string& name) const
{
    const auto found = results.find (name);

    if (found == results.end())
        return name + " did not run";

    return name + ": " + (found->second.error.empty() ? std::string ("no time") : found->second.error);
}

void RatioSummary::Finalize()
{
    auto& out = GetOutputStream();
    out << "\nGoals and comparisons, as ratios of real time per iteration from this run (the two sides\n"
           "ran one after the other: a machine whose load changes meanwhile shifts the ratio):\n";

    for (const auto& ratio : ratios)
        printRatio (ratio);

    for (const auto& count : counts)
        printCount (count);

    for (const auto& error : unexpected)
        out << "  UNEXPECTED ERROR " << error << "\n";

    out << std::flush;
}

void RatioSummary::printRatio (const Ratio& ratio)
{
    auto& out = GetOutputStream();
    out << "  " << ratio.what << ": ";

    const auto measured = secondsPerIteration (ratio.measured);
    const auto baseline = secondsPerIteration (ratio.baseline);

    if (! measured || ! baseline || ! (*baseline > 0.0))
    {
        out << "not measured (" << whyNotMeasured (measured ? ratio.baseline : ratio.measured) << ")\n";
        return;
    }

    const auto value = *measured / *baseline;
    out << formatted ("%.2f", value) << " (" << microseconds (*measured) << " / " << microseconds (*baseline) << ")";

    if (ratio.highestMeetingGoal > 0.0)
        out << ", goal <= " << formatted ("%g", ratio.highestMeetingGoal) << ": "
            << (value <= ratio.highestMeetingGoal ? "met" : "MISSED");

    out << "\n";
}

void RatioSummary::printCount (const Count& count)
{
    auto& out = GetOutputStream();
    out << "  " << count.what << ": ";

    const auto found = results.find (count.benchmark);
    const auto measured = found != results.end() && found->second.error.empty();
    const auto counter = measured ? found->second.counters.find (count.counter) : benchmark::UserCounters::const_iterator {};

    if (! measured)
    {
        out << "not measured (" << whyNotMeasured (count.benchmark) << ")\n";
        return;
    }

    if (counter == found->second.counters.end())
    {
        out << "not measured (" << count.benchmark << " reported no " << count.counter << ")\n";
        return;
    }

    const auto value = (double) counter->second;
    out << formatted ("%g", value);

    if (count.goal)
        out << ", goal at most " << formatted ("%g", *count.goal) << ": " << (value <= *count.goal ? "met" : "MISSED");

    out << "\n";
}

} // namespace benchmarks
