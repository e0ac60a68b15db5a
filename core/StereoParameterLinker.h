#pragma once

#include "core/HvParamsManager.h"

#include <juce_events/juce_events.h>

#include <atomic>

/** While CHANNEL is "LINK", repeats the values and gestures of one control on the same
    control of the other channel. The twin is changed later, from an action message on the
    message thread, with this linker as the source. Host automation is not repeated.
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

    bool isLinked() const noexcept { return linked.load(); }

    /** The source of changes that already carry both channels' values, as a restored session
        does: they are not mirrored, or the two channels would trade their values. It is
        nobody's listener, so every listener is told of them. */
    static AutomatableParamListener& bothChannelsSource();

private:
    /** This source and the host's restore (HvDawParameter::hostRestoreSource). */
    static bool carriesBothChannels (const AutomatableParamListener* source);

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
