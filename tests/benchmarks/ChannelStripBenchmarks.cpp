// One channel strip of the front panel, measured on its own: what the product's editor is built
// from, comparable with the generic editor now.

#include "ManualTiming.h"
#include "Names.h"
#include "Painting.h"

#include "PanelArtwork.h"
#include "core/Eq713kPluginInstance.h"
#include "editor/EQ700K_MainView.h"
#include "support/MessagePump.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace
{

constexpr int stripWidth = 325;
constexpr int stripHeight = 570;

/** An instance whose first channel gets strips of the editor's size, shown. */
struct StripMaker
{
    std::unique_ptr<EQ700K_MainView> makeStrip()
    {
        auto strip = std::make_unique<EQ700K_MainView> (instance, instance.getProductManager(),
                                                        EQ700K_MainView::firstChannel, windowClickFlag);
        strip->setBounds (0, 0, stripWidth, stripHeight);
        strip->setVisible (true);
        testing_support::pumpPendingMessages();
        return strip;
    }

    Eq713kPluginInstance instance;
    bool windowClickFlag = false;
};

/** Whether another strip is alive while one is opened. What no instance changes (the faceplate,
    the fixed textures, the faces) is made by the first strip of the process and kept: the
    first strip of a process is measured by Eq713kEditorCosts, in a fresh process. */
enum class Faceplate
{
    nothingAlive,
    heldByAnother
};

/** From nothing to the first full paint: built at the editor's size, shown, its posted messages
    run, painted. */
void ChannelStripOpenToFirstPaint (benchmark::State& state, Faceplate faceplate)
{
    StripMaker maker;
    std::unique_ptr<EQ700K_MainView> another;

    if (faceplate == Faceplate::heldByAnother)
        another = maker.makeStrip();

    int pictures = 0;

    for (auto _ : state)
    {
        std::unique_ptr<EQ700K_MainView> strip;
        benchmarks::timeIteration (state, [&]
        {
            strip = maker.makeStrip();
            benchmark::DoNotOptimize (benchmarks::firstPaintOf (*strip).getPixelData());
        });

        if (another != nullptr)
            pictures = benchmarks::distinctFaceplatePictures ({ another.get(), strip.get() });
    }

    if (another != nullptr)
        state.counters[benchmarks::faceplatePicturesCounter] = pictures;
}

/** Every pixel of a strip painted again into its window's image: cached textures composed. */
void ChannelStripFullRepaint (benchmark::State& state)
{
    StripMaker maker;
    auto strip = maker.makeStrip();
    juce::Image image (juce::Image::ARGB, stripWidth, stripHeight, true);

    for (auto _ : state)
        benchmarks::repaintInto (*strip, image);
}

/** The same for a strip that its parent holds buffered to an image (the framework keeps the
    composed strip and paints it again only where something changed), as an editor could hold
    its strips: what the full repaint costs once the composition itself is cached. */
void ChannelStripFullRepaintBuffered (benchmark::State& state)
{
    StripMaker maker;
    auto strip = maker.makeStrip();
    strip->setBufferedToImage (true);

    // Only a child paints from its buffer: the window paints the editor, the editor its strips.
    juce::Component parent;
    parent.setBounds (strip->getBounds());
    parent.addAndMakeVisible (*strip);
    juce::Image image (juce::Image::ARGB, stripWidth, stripHeight, true);

    for (auto _ : state)
        benchmarks::repaintInto (parent, image);
}

/** The strip at twice its size and back, each time laid out (which renders every texture
    again), its posted messages run and painted at the new size. */
void ChannelStripResizeAndRepaint (benchmark::State& state)
{
    StripMaker maker;
    auto strip = maker.makeStrip();
    const std::array<juce::Rectangle<int>, 2> sizes { { { 2 * stripWidth, 2 * stripHeight }, { stripWidth, stripHeight } } };
    std::array<juce::Image, 2> images { juce::Image (juce::Image::ARGB, sizes[0].getWidth(), sizes[0].getHeight(), true),
                                        juce::Image (juce::Image::ARGB, sizes[1].getWidth(), sizes[1].getHeight(), true) };
    size_t next = 0;

    for (auto _ : state)
    {
        strip->setSize (sizes[next].getWidth(), sizes[next].getHeight());
        testing_support::pumpPendingMessages();
        benchmarks::repaintInto (*strip, images[next]);
        next = 1 - next;
    }
}

/** The faceplate's PNG decoded: what a strip of another size than the ready-scaled copy pays
    once per process. */
void FaceplateDecode (benchmark::State& state)
{
    for (auto _ : state)
    {
        auto picture = juce::ImageFileFormat::loadFrom (PanelArtwork::Faceplate_png, (size_t) PanelArtwork::Faceplate_pngSize);

        if (! picture.isValid())
            return state.SkipWithError ("the faceplate does not decode");
    }
}

} // namespace

CASE_BENCHMARK (ChannelStripOpenToFirstPaint, nothingAlive, Faceplate::nothingAlive)->UseManualTime();
CASE_BENCHMARK (ChannelStripOpenToFirstPaint, besideAnother, Faceplate::heldByAnother)->UseManualTime();
NAMED_BENCHMARK (ChannelStripFullRepaint, at325x570)->UseRealTime();
NAMED_BENCHMARK (ChannelStripFullRepaintBuffered, at325x570)->UseRealTime();
NAMED_BENCHMARK (ChannelStripResizeAndRepaint, between325x570and650x1140)->UseRealTime();
NAMED_BENCHMARK (FaceplateDecode, png)->UseRealTime();
