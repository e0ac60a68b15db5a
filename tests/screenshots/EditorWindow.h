#pragma once

#include "core/Eq713kPluginInstance.h"
#include "editor/Eq713kAudioProcessorEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace screenshots
{

/** The editor of an instance, made by the instance as a host has it made, in a window of its
    own on the screen, as a host shows it: the window follows the editor's size.

    The window counts its paints: every time the framework paints any part of the window, the
    window itself is painted over its children last, whatever the editor draws and however it
    buffers it. */
class EditorWindow : public juce::Component
{
public:
    EditorWindow (Eq713kPluginInstance& instance, juce::Point<int> topLeftOnScreen);
    ~EditorWindow() override;

    Eq713kAudioProcessorEditor& getEditor() const noexcept { return *productEditor; }

    /** False when the instance made no editor of the product's own. */
    bool hasEditor() const noexcept { return productEditor != nullptr; }

    juce::Point<int> onScreen (juce::Point<int> inEditor) const;
    juce::Rectangle<int> onScreen (juce::Rectangle<int> inEditor) const;
    juce::Rectangle<int> areaOnScreen() const { return getScreenBounds(); }

    /** Makes this the window with the keyboard focus, as a click of the user's into it does on
        a desktop; JUCE keeps popups open only while its process is the active one. */
    bool takeKeyboardFocus (int timeoutMs);

    void restartPaintCount();
    int getNumPaints() const noexcept { return paints; }
    juce::Rectangle<int> getPaintedArea() const noexcept { return paintedArea; }

    void childBoundsChanged (juce::Component* child) override;
    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;

private:
    Eq713kPluginInstance& instance;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    Eq713kAudioProcessorEditor* productEditor = nullptr;

    int paints = 0;
    juce::Rectangle<int> paintedArea;

    JUCE_DECLARE_NON_COPYABLE (EditorWindow)
};

} // namespace screenshots
