#include "editor/Eq713kAudioProcessorEditor.h"

#include "core/ParamData.h"

#include <utility>

Eq713kAudioProcessorEditor::Eq713kAudioProcessorEditor (EditorInstance& instanceToUse, Eq713kParamsManager& manager)
    : juce::AudioProcessorEditor (instanceToUse.getAudioProcessor()),
      instance (instanceToUse),
      params (manager),
      menuBar (manager, instanceToUse),
      panel0 (instanceToUse.getAudioProcessor(), manager, EQ700K_MainView::firstChannel, windowClickFlag),
      panel1 (instanceToUse.getAudioProcessor(), manager, EQ700K_MainView::secondChannel, windowClickFlag),
      sizeHints (*this, instanceToUse.getAudioProcessor().wrapperType == juce::AudioProcessor::wrapperType_LV2),
      hostRunLoop (instanceToUse.getAudioProcessor().wrapperType == juce::AudioProcessor::wrapperType_VST3
                       ? instanceToUse.getVst3ComponentHandler() : nullptr)
{
    addAndMakeVisible (menuBar);
    addAndMakeVisible (panel0);
    addAndMakeVisible (panel1);

    // After the bar is added: it takes its colours from the look-and-feel when told of a change.
    setLookAndFeel (&lookAndFeel);
    setOpaque (true);
    setResizable (false, false);

    // Each handler runs once at once; the one of "DOUBLE WINDOW" gives the window its size.
    params.addParamListener (this, ParamData::CHANNEL, juce::HvParamsManager::notifyCurrentValue);
    params.addNonAutomatableParamListener (this, ParamData::SELECTED_CHANNEL, juce::HvParamsManager::notifyCurrentValue);
    params.addNonAutomatableParamListener (this, ParamData::DOUBLE_WINDOW, juce::HvParamsManager::notifyCurrentValue);

    if (getWidth() == 0 || getHeight() == 0)
    {
        askFor (isDoubleWindow() ? doubleWidth : singleWidth);
        setBounds (getX(), getY(), askedWidth, windowHeight);
        updatePanelsGrayOut();
    }

    animator.addChangeListener (this);
    instance.editorOpened (*this);
}

Eq713kAudioProcessorEditor::~Eq713kAudioProcessorEditor()
{
    instance.editorClosed (*this);

    stopTimer();
    animator.removeChangeListener (this);
    animator.cancelAllAnimations (false, false);

    params.removeParamListener (this, ParamData::CHANNEL);
    params.removeNonAutomatableParamListener (this, ParamData::SELECTED_CHANNEL);
    params.removeNonAutomatableParamListener (this, ParamData::DOUBLE_WINDOW);

    setLookAndFeel (nullptr);
}

//==============================================================================
void Eq713kAudioProcessorEditor::paint (juce::Graphics& g)
{
    // Black is the window's own background (seen beside the first strip before the second
    // slides out); room a host gives beyond what the editor asked for looks like the bar.
    const juce::Rectangle<int> own { 0, 0, askedWidth, windowHeight };
    g.setColour (lookAndFeel.mainMenuColours[1]);
    g.fillAll();
    g.setColour (juce::Colours::black);
    g.fillRect (own.getIntersection (getLocalBounds()));
}

void Eq713kAudioProcessorEditor::resized()
{
    // A host's resize writes its window's hints afresh.
    sizeHints.refresh();

    if (getWidth() <= 0 || getHeight() <= 0)
        return;

    menuBar.setBounds (0, 0, getWidth(), menuBarHeight);

    if (std::exchange (skipPanelLayout, false))
        return;

    panel0.setBounds (panel0Bounds());
    panel1.setBounds (panel1Bounds (isDoubleWindow()));
}

void Eq713kAudioProcessorEditor::parentHierarchyChanged()
{
    sizeHints.refresh();
}

void Eq713kAudioProcessorEditor::askFor (int width)
{
    if (std::exchange (askedWidth, width) != width)
        repaint();

    sizeHints.wantSize (width, windowHeight);
}

void Eq713kAudioProcessorEditor::layOutPanels()
{
    menuBar.setBounds (0, 0, getWidth(), menuBarHeight);
    panel0.setBounds (panel0Bounds());
    panel1.setBounds (panel1Bounds (isDoubleWindow()));
}

void Eq713kAudioProcessorEditor::setWidthKeepingPanels (int width)
{
    askFor (width);

    // Only a resize that really comes may skip the layout: a skip left over would hold the
    // panels still through a later, unrelated one.
    if (getWidth() == width && getHeight() == windowHeight)
        return;

    skipPanelLayout = true;
    setBounds (getX(), getY(), width, windowHeight);
    skipPanelLayout = false;
}

void Eq713kAudioProcessorEditor::setWidthAndLayOut (int width)
{
    askFor (width);

    if (getWidth() != width || getHeight() != windowHeight)
        setBounds (getX(), getY(), width, windowHeight);

    layOutPanels();
}

//==============================================================================
bool Eq713kAudioProcessorEditor::isDoubleWindow() const
{
    return (bool) params.getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW);
}

bool Eq713kAudioProcessorEditor::isLinked() const
{
    return params.getParamValue (ParamData::CHANNEL) < 0.5f;
}

int Eq713kAudioProcessorEditor::asSelectedChannel (const juce::var& value)
{
    return (int) value == 1 ? 1 : 0;
}

int Eq713kAudioProcessorEditor::selectedChannel() const
{
    return asSelectedChannel (params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL));
}

void Eq713kAudioProcessorEditor::updatePanelsVisibility()
{
    const auto both = isDoubleWindow();
    const auto selected = selectedChannel();

    panel0.setVisible (both || selected == 0);
    panel1.setVisible (both || selected == 1);
}

void Eq713kAudioProcessorEditor::updatePanelsGrayOut()
{
    // Exactly 0.0 is LINK here, unlike elsewhere: a CHANNEL value strictly between 0 and 0.5
    // greys a strip out.
    const auto greyOut = isDoubleWindow() && params.getNumParams() > 0
                         && params.getParamValue (ParamData::CHANNEL) != 0.0f;
    const auto selected = selectedChannel();

    panel0.overlay.setVisible (greyOut && selected != 0);
    panel1.overlay.setVisible (greyOut && selected != 1);
}

void Eq713kAudioProcessorEditor::putOnTop (int panelIndex)
{
    auto& top = getPanel (panelIndex);
    auto& other = getPanel (1 - panelIndex);

    other.setAlwaysOnTop (false);
    top.setAlwaysOnTop (true);

    // The flag raises a strip only when it is newly set; a strip that lost it may still lie above.
    top.toFront (false);
}

//==============================================================================
void Eq713kAudioProcessorEditor::paramValueChanged (int id, float value)
{
    if (id != ParamData::CHANNEL)
        return;

    if (value < 0.5f)
    {
        panel0.overlay.setVisible (false);
        panel1.overlay.setVisible (false);
        putOnTop (0);
    }

    // In the single window this decides which strip shows, in LINK too: the selected channel's.
    updatePanelsVisibility();
    updatePanelsGrayOut();
}

void Eq713kAudioProcessorEditor::nonAutomatableParamValueChanged (int id, juce::var value)
{
    if (id == ParamData::SELECTED_CHANNEL)
    {
        if (params.getNumParams() == 0 || isLinked())
            return;

        updatePanelsVisibility();
        updatePanelsGrayOut();
        putOnTop (asSelectedChannel (value));
    }
    else if (id == ParamData::DOUBLE_WINDOW)
    {
        const auto doubleWindow = (bool) value;

        if (std::exchange (windowClickFlag, false))
            windowModeChangedByButton (doubleWindow);
        else
            windowModeChanged (doubleWindow);
    }
}

void Eq713kAudioProcessorEditor::windowModeChanged (bool doubleWindow)
{
    // A slide or pause of the window button's sequence would finish against the new mode and
    // leave a strip off the window or the window half black: the new mode is taken at once.
    stopTimer();
    animator.cancelAllAnimations (false, false);
    skipPanelLayout = false;

    // Visibility first: a strip the window hides is laid out only when it is shown.
    updatePanelsVisibility();
    setWidthAndLayOut (doubleWindow ? doubleWidth : singleWidth);
    updatePanelsGrayOut();
}

void Eq713kAudioProcessorEditor::windowModeChangedByButton (bool doubleWindow)
{
    if (animator.isAnimating (&panel1))
    {
        // Back to the other end, over the time the interrupted slide had run.
        const auto elapsedMs = animator.getTaskElapsedMs (&panel1);
        animator.cancelAllAnimations (false, false);
        slidePanel1 (doubleWindow, elapsedMs);
        return;
    }

    if (! doubleWindow)
    {
        // The window keeps its width until the slide has ended and the pause has passed.
        slidePanel1 (false, slideMs);
        return;
    }

    // Wider at once, the second strip still under the first; it slides out after the pause.
    setWidthKeepingPanels (doubleWidth);
    updatePanelsVisibility();
    updatePanelsGrayOut();

    const auto selected = selectedChannel();
    panel0.nonAutomatableParamValueChanged (ParamData::SELECTED_CHANNEL, selected);
    panel1.nonAutomatableParamValueChanged (ParamData::SELECTED_CHANNEL, selected);

    startTimer (pauseMs);
}

void Eq713kAudioProcessorEditor::slidePanel1 (bool out, int milliseconds)
{
    animator.animateComponent (&panel1, panel1Bounds (out), 1.0f, milliseconds, false, 0.0, 0.0);
}

void Eq713kAudioProcessorEditor::timerCallback()
{
    stopTimer();

    if (isDoubleWindow())
    {
        animator.animateComponent (&panel1, panel1Bounds (true), panel1.getAlpha(), slideMs, false, 0.0, 0.0);
        return;
    }

    setWidthKeepingPanels (singleWidth);

    // The strips lie on each other now: the single window shows only the selected channel's,
    // not greyed out, as when it is opened in that mode.
    updatePanelsVisibility();
    updatePanelsGrayOut();
}

void Eq713kAudioProcessorEditor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    // A message while the second strip still has a task comes from the task's start.
    if (source != &animator || animator.isAnimating (&panel1))
        return;

    if (! isDoubleWindow())
        startTimer (pauseMs);
}
