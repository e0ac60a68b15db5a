// What opening an editor costs, phase by phase, in one fresh process: the first editor of the
// process, an editor reopened with no editor alive, a second instance's editor beside an open
// one, a full repaint of the single and of the double window (what each frame of the window
// button's slide paints), and the heap each open editor holds. Run on its own it prints times
// and heap; run under valgrind's callgrind (scripts/benchmark.sh --instructions) each phase is
// also dumped on its own, so that instruction counts can be read per phase. Instruction counts
// hold on a loaded machine, where times vary from run to run.
//
// Usage: Eq713kEditorCosts product|generic

#include "../OpenEditor.h"
#include "../Painting.h"

#include "core/Eq713kPluginInstance.h"
#include "core/ParamData.h"
#include "editor/Eq713kAudioProcessorEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <memory>

namespace
{

using benchmarks::OpenEditor;

long long heapInUse()
{
    const auto info = mallinfo2();
    return (long long) info.uordblks + (long long) info.hblkhd;
}

/** Runs one phase: its instructions in a dump of their own under callgrind, its time and the
    heap it leaves held printed. */
template <typename Work>
void phase (const char* name, Work&& work)
{
    const auto heapBefore = heapInUse();
    CALLGRIND_ZERO_STATS;
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto seconds = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
    CALLGRIND_DUMP_STATS_AT (name);
    const auto heapAfter = heapInUse();

    std::printf ("phase %-8s %9.3f ms  heap held %+8.2f MB\n", name, seconds * 1000.0,
                 (double) (heapAfter - heapBefore) / (1024.0 * 1024.0));
    std::fflush (stdout);
}

void run (OpenEditor::Kind kind)
{
    Eq713kPluginInstance firstInstance, secondInstance;
    std::unique_ptr<OpenEditor> first, second;

    const auto open = [kind] (Eq713kPluginInstance& instance, std::unique_ptr<OpenEditor>& editor)
    {
        editor = std::make_unique<OpenEditor> (instance, kind);
        juce::ignoreUnused (benchmarks::firstPaintOf (editor->get()));
    };

    // The first editor of the process pays the framework's start-up as well.
    phase ("first", [&] { open (firstInstance, first); });
    first.reset();

    // Nothing alive: what a user pays each time a plug-in window is opened again.
    phase ("reopen", [&] { open (firstInstance, first); });

    // A second instance's window beside the open one.
    phase ("beside", [&] { open (secondInstance, second); });

    auto image = juce::Image (juce::Image::ARGB, first->get().getWidth(), first->get().getHeight(), true);
    phase ("repaint", [&] { benchmarks::repaintInto (first->get(), image); });

    second.reset();

    // The double window repainted whole: what each frame of the window button's slide paints
    // (the strips composed from their buffers; without a window on a screen the framework
    // would render a moved strip again, so the slide itself is not stepped here).
    if (auto* editor = dynamic_cast<Eq713kAudioProcessorEditor*> (&first->get()))
    {
        firstInstance.getProductManager().setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
        auto window = juce::Image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        benchmarks::repaintInto (*editor, window);
        phase ("repaint2", [&] { benchmarks::repaintInto (*editor, window); });
    }

    phase ("close", [&] { first.reset(); });
}

} // namespace

int main (int argc, char** argv)
{
    const auto kind = argc > 1 && std::strcmp (argv[1], "generic") == 0 ? OpenEditor::genericEditor
                                                                        : OpenEditor::productEditor;
    juce::ScopedJuceInitialiser_GUI juce;
    run (kind);
    return 0;
}
