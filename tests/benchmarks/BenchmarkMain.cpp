#include "Heap.h"
#include "Names.h"
#include "RatioSummary.h"

#include "widgets/HvDefaultLookAndFeel.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <iostream>

namespace
{

/** Counts the framework's assertions (logged in Debug builds) and shows each. */
class AssertionCountingLogger : public juce::Logger
{
public:
    std::atomic<int> assertions { 0 };

private:
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            ++assertions;

        std::cerr << message << std::endl;
    }
};

/** The goals, each a ratio of a measured time to its baseline from the same run, and what the
    channel strip shows of them before the editor is there. */
std::vector<benchmarks::RatioSummary::Ratio> ratios()
{
    return {
        { "editor open to first paint, product / generic", "EditorOpenToFirstPaint/product", "EditorOpenToFirstPaint/generic", 2.0 },
        { "editor full repaint, product / generic", "EditorFullRepaint/product", "EditorFullRepaint/generic", 1.0 },
        { "editor resize and repaint, product / generic", "EditorResizeAndRepaint/product", "EditorResizeAndRepaint/generic", 0.0 },
        { "one channel strip open to first paint / generic editor's", "ChannelStripOpenToFirstPaint/nothingAlive",
          "EditorOpenToFirstPaint/generic", 2.0 },
        { "one channel strip full repaint / generic editor's", "ChannelStripFullRepaint/at325x570", "EditorFullRepaint/generic", 1.0 },
        { "  the same, the strip buffered to an image in its parent", "ChannelStripFullRepaintBuffered/at325x570",
          "EditorFullRepaint/generic", 1.0 },
        { "one channel strip resize (all textures) and repaint / generic editor's", "ChannelStripResizeAndRepaint/between325x570and650x1140",
          "EditorResizeAndRepaint/generic", 0.0 },
        { "editor opened beside another, product / generic", "EditorOpenBesideAnother/product",
          "EditorOpenBesideAnother/generic", 0.0 },
        { "a strip opened beside a live one / one opened alone", "ChannelStripOpenToFirstPaint/besideAnother",
          "ChannelStripOpenToFirstPaint/nothingAlive", 0.0 },
    };
}

std::vector<benchmarks::RatioSummary::Count> counts()
{
    return {
        { "faceplate pictures shown by two channel strips alive together", "ChannelStripOpenToFirstPaint/besideAnother",
          benchmarks::faceplatePicturesCounter, 1.0 },
        { "faceplate pictures shown by two editors open together", "EditorOpenBesideAnother/product",
          benchmarks::faceplatePicturesCounter, 1.0 },
        { "heap held by an editor opened with nothing alive, MB", "EditorOpenToFirstPaint/product",
          benchmarks::heldMegabytesCounter, std::nullopt },
        { "heap held by a second instance's editor beside an open one, MB", "EditorOpenBesideAnother/product",
          benchmarks::heldMegabytesCounter, 1.5 },
    };
}

} // namespace

/** Runs the benchmarks on this thread, the message thread, with the panel's look-and-feel held
    as the editor holds it, then prints the goals. Fails when the framework asserted or a
    benchmark ended in an error other than the expected ones; slow results never fail it. */
int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    int unexpectedErrors = 0;
    int assertions = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        AssertionCountingLogger logger;
        juce::Logger::setCurrentLogger (&logger);
        {
            juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
            benchmarks::RatioSummary summary (ratios(), counts(), { benchmarks::noEditor, benchmarks::keepsItsSize });
            benchmark::RunSpecifiedBenchmarks (&summary);
            unexpectedErrors = summary.unexpectedErrors();
        }
        benchmark::Shutdown();
        juce::Logger::setCurrentLogger (nullptr);
        assertions = logger.assertions.load();
    }

    if (assertions > 0)
        std::cerr << assertions << " assertion(s) of the framework failed" << std::endl;

    return unexpectedErrors > 0 || assertions > 0 ? 1 : 0;
}
