// The product's editor against the framework's generic editor of the same processor. They
// measure the instance's createEditor(): while it gives no editor they end with "no editor".

#include "Heap.h"
#include "ManualTiming.h"
#include "Names.h"
#include "OpenEditor.h"
#include "Painting.h"

#include "core/Eq713kPluginInstance.h"
#include "support/MessagePump.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace
{

using benchmarks::OpenEditor;

bool givesEditor (Eq713kPluginInstance& instance, OpenEditor::Kind kind)
{
    return OpenEditor (instance, kind).isOpen();
}

juce::Image imageOfSize (juce::Rectangle<int> bounds)
{
    return juce::Image (juce::Image::ARGB, juce::jmax (1, bounds.getWidth()), juce::jmax (1, bounds.getHeight()), true);
}

/** From no editor alive to the first full paint: created, shown, its posted messages run,
    painted. The first editor of a process, which also makes what every editor shares, is
    measured by Eq713kEditorCosts in a fresh process. */
void EditorOpenToFirstPaint (benchmark::State& state, OpenEditor::Kind kind)
{
    Eq713kPluginInstance instance;

    if (! givesEditor (instance, kind))
        return state.SkipWithError (benchmarks::noEditor);

    double held = 0.0;

    for (auto _ : state)
    {
        std::unique_ptr<OpenEditor> editor;
        const auto heapBefore = benchmarks::heapBytesInUse();
        benchmarks::timeIteration (state, [&]
        {
            editor = std::make_unique<OpenEditor> (instance, kind);
            benchmark::DoNotOptimize (benchmarks::firstPaintOf (editor->get()).getPixelData());
        });
        held = benchmarks::heapBytesInUse() - heapBefore;
    }

    state.counters[benchmarks::heldMegabytesCounter] = held / (1024.0 * 1024.0);
}

/** A second editor of another instance opened while the first is open: counts the faceplate
    pictures that both show together. */
void EditorOpenBesideAnother (benchmark::State& state, OpenEditor::Kind kind)
{
    Eq713kPluginInstance firstInstance, secondInstance;
    OpenEditor first (firstInstance, kind);

    if (! first.isOpen())
        return state.SkipWithError (benchmarks::noEditor);

    int pictures = 0;
    double held = 0.0;

    for (auto _ : state)
    {
        std::unique_ptr<OpenEditor> second;
        const auto heapBefore = benchmarks::heapBytesInUse();
        benchmarks::timeIteration (state, [&]
        {
            second = std::make_unique<OpenEditor> (secondInstance, kind);
            benchmark::DoNotOptimize (benchmarks::firstPaintOf (second->get()).getPixelData());
        });
        held = benchmarks::heapBytesInUse() - heapBefore;
        pictures = benchmarks::distinctFaceplatePictures ({ &first.get(), &second->get() });
    }

    state.counters[benchmarks::faceplatePicturesCounter] = pictures;
    state.counters[benchmarks::heldMegabytesCounter] = held / (1024.0 * 1024.0);
}

/** Every pixel of an open editor painted again into its window's image. */
void EditorFullRepaint (benchmark::State& state, OpenEditor::Kind kind)
{
    Eq713kPluginInstance instance;
    OpenEditor editor (instance, kind);

    if (! editor.isOpen())
        return state.SkipWithError (benchmarks::noEditor);

    auto image = imageOfSize (editor.get().getLocalBounds());

    for (auto _ : state)
        benchmarks::repaintInto (editor.get(), image);

    state.counters["width"] = editor.get().getWidth();
    state.counters["height"] = editor.get().getHeight();
}

/** The editor made twice as large and back, each time laid out, its posted messages run and
    painted at the new size. */
void EditorResizeAndRepaint (benchmark::State& state, OpenEditor::Kind kind)
{
    Eq713kPluginInstance instance;
    OpenEditor editor (instance, kind);

    if (! editor.isOpen())
        return state.SkipWithError (benchmarks::noEditor);

    auto& component = editor.get();
    const auto opened = component.getLocalBounds();
    const std::array<juce::Rectangle<int>, 2> sizes { opened * 2, opened };

    component.setSize (sizes[0].getWidth(), sizes[0].getHeight());
    const auto resizable = component.getLocalBounds() == sizes[0];
    component.setSize (opened.getWidth(), opened.getHeight());
    testing_support::pumpPendingMessages();

    if (! resizable)
        return state.SkipWithError (benchmarks::keepsItsSize);

    std::array<juce::Image, 2> images { imageOfSize (sizes[0]), imageOfSize (sizes[1]) };
    size_t next = 0;

    for (auto _ : state)
    {
        component.setSize (sizes[next].getWidth(), sizes[next].getHeight());
        testing_support::pumpPendingMessages();
        benchmarks::repaintInto (component, images[next]);
        next = 1 - next;
    }
}

} // namespace

CASE_BENCHMARK (EditorOpenToFirstPaint, product, OpenEditor::productEditor)->UseManualTime();
CASE_BENCHMARK (EditorOpenToFirstPaint, generic, OpenEditor::genericEditor)->UseManualTime();
CASE_BENCHMARK (EditorOpenBesideAnother, product, OpenEditor::productEditor)->UseManualTime();
CASE_BENCHMARK (EditorOpenBesideAnother, generic, OpenEditor::genericEditor)->UseManualTime();
CASE_BENCHMARK (EditorFullRepaint, product, OpenEditor::productEditor)->UseRealTime();
CASE_BENCHMARK (EditorFullRepaint, generic, OpenEditor::genericEditor)->UseRealTime();
CASE_BENCHMARK (EditorResizeAndRepaint, product, OpenEditor::productEditor)->UseRealTime();
CASE_BENCHMARK (EditorResizeAndRepaint, generic, OpenEditor::genericEditor)->UseRealTime();
