#pragma once

#include "core/HvParamsManager.h"

#include <juce_events/juce_events.h>

#include <atomic>

/** While CHANNEL is "LINK", repeats the values and gestures of one control on the same
    control of the other channel. The twin is changed later, from an action message on the
    message thread, with this linker as the source. Host automation and restored states
    are not repeated.
*/
class StereoParameterLinker : public juce::ActionListener,
                              public juce::ActionBroadcaster,
                              public juce::HvParamsManager::AutomatableParamListener
{
public:
    StereoParameterLinker (juce::HvParamsManager& manager, int firstId, int secondId);
    ~StereoParameterLinker() override;

    void actionListenerCallback (const juce::String& message) override;

    using juce::HvParamsManager::AutomatableParamListener::paramValueChanged;
    using juce::HvParamsManager::AutomatableParamListener::paramGestureChanged;
    void paramValueChanged (AutomatableParamListener* source, int id, float value) override;
    void paramGestureChanged (AutomatableParamListener* source, int id, bool starting) override;

private:
    /** Whether the change restores a saved state, the host's (HvDawParameter::hostRestoreSource)
        or a preset (StateFormat::presetSource): such a state holds both channels' values
        already, and mirrored, the two channels would trade them. */
    static bool isRestore (const AutomatableParamListener* source);

    enum MessageKind
    {
        setValue = 1,
        beginGesture = 2,
        endGesture = 3
    };

    void post (MessageKind kind, int twinId, double value);
    int twinOf (int id) const noexcept;
    void setTwinGestureOpen (int twinId, bool open);

    juce::HvParamsManager& manager;
    const int firstId;
    const int secondId;
    std::atomic<bool> linked { false };

    // Gestures begun on each twin (index 0: the second id, 1: the first) that still need
    // their end, so that a change of CHANNEL during a gesture neither leaves one open nor
    // ends one this linker never began.
    bool gestureBegunOnTwin[2] = { false, false };

    // Twin gestures applied and not yet ended, ended on destruction so that none stays open.
    bool gestureOpenOnTwin[2] = { false, false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StereoParameterLinker)
};
