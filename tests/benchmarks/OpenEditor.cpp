#include "OpenEditor.h"

#include "support/MessagePump.h"

namespace benchmarks
{

namespace
{

std::unique_ptr<juce::AudioProcessorEditor> createEditor (juce::AudioProcessor& processor, OpenEditor::Kind kind)
{
    if (kind == OpenEditor::genericEditor)
        return std::make_unique<juce::GenericAudioProcessorEditor> (processor);

    return std::unique_ptr<juce::AudioProcessorEditor> (processor.createEditor());
}

} // namespace

OpenEditor::OpenEditor (juce::AudioProcessor& processorToEdit, Kind kind)
    : processor (processorToEdit),
      editor (createEditor (processor, kind))
{
    if (editor == nullptr)
        return;

    editor->setVisible (true);
    testing_support::pumpPendingMessages();
}

OpenEditor::~OpenEditor()
{
    if (editor != nullptr)
        processor.editorBeingDeleted (editor.get());
}

} // namespace benchmarks
