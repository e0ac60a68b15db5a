#include "EditorWindow.h"

#include "support/MessagePump.h"

namespace screenshots
{

EditorWindow::EditorWindow (Eq713kPluginInstance& instanceToShow, juce::Point<int> topLeftOnScreen)
    : instance (instanceToShow),
      editor (instance.createEditorIfNeeded()),
      productEditor (dynamic_cast<Eq713kAudioProcessorEditor*> (editor.get()))
{
    setOpaque (true);
    setWantsKeyboardFocus (true);

    if (editor == nullptr)
        return;

    addAndMakeVisible (*editor);
    setBounds (editor->getBounds().withPosition (topLeftOnScreen));
    addToDesktop (0);
    setVisible (true);
}

EditorWindow::~EditorWindow()
{
    removeFromDesktop();

    if (editor != nullptr)
    {
        instance.editorBeingDeleted (editor.get());
        removeChildComponent (editor.get());
        editor.reset();
    }

    testing_support::pumpPendingMessages();
}

juce::Point<int> EditorWindow::onScreen (juce::Point<int> inEditor) const
{
    return getScreenPosition() + inEditor;
}

juce::Rectangle<int> EditorWindow::onScreen (juce::Rectangle<int> inEditor) const
{
    return inEditor + getScreenPosition();
}

bool EditorWindow::takeKeyboardFocus (int timeoutMs)
{
    grabKeyboardFocus();
    return testing_support::pumpUntil ([] { return juce::Process::isForegroundProcess(); }, timeoutMs);
}

void EditorWindow::restartPaintCount()
{
    paints = 0;
    paintedArea = {};
}

void EditorWindow::childBoundsChanged (juce::Component* child)
{
    if (child == editor.get() && child->getWidth() > 0 && child->getHeight() > 0)
        setSize (child->getWidth(), child->getHeight());
}

void EditorWindow::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void EditorWindow::paintOverChildren (juce::Graphics& g)
{
    ++paints;
    const auto area = g.getClipBounds();
    paintedArea = paintedArea.isEmpty() ? area : paintedArea.getUnion (area);
}

} // namespace screenshots
