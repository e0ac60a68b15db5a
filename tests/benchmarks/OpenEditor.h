#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace benchmarks
{

/** An editor of a processor, opened as a host opens one and closed as a host closes it (the
    processor is told before the editor goes): the product's own, from createEditor(), or, as
    the baseline, the framework's generic editor of the same processor.

    Opening shows the editor and runs the messages it posted meanwhile, as the host's message
    loop does before the first paint: the generic editor builds its rows that way. */
class OpenEditor
{
public:
    enum Kind
    {
        productEditor,
        genericEditor
    };

    OpenEditor (juce::AudioProcessor& processor, Kind kind);
    ~OpenEditor();

    /** False while the product gives no editor of its own. */
    bool isOpen() const noexcept { return editor != nullptr; }

    juce::AudioProcessorEditor& get() const noexcept { return *editor; }

private:
    juce::AudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;

    JUCE_DECLARE_NON_COPYABLE (OpenEditor)
};

} // namespace benchmarks
