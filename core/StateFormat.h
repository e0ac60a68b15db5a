#pragma once

#include "core/HvParamsManager.h"

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>
#include <utility>
#include <vector>

class Eq713kParamsManager;

/** The plug-in's state as one block of bytes: the host keeps it with its session and the
    preset files hold it. Written as a value tree in the framework's binary stream form;
    read from that form and from the older XML forms.
*/
class StateFormat
{
public:
    static constexpr const char* rootTypeName = "HV_EQ713K_3_0_0";

    static inline const juce::Identifier rootType { rootTypeName };
    static inline const juce::Identifier presetType { "PRESET" };
    static inline const juce::Identifier presetNumberProperty { "PRESET_NO" };
    static inline const juce::Identifier paramType { "PARAM" };
    static inline const juce::Identifier settingsType { "SETTINGS" };
    static inline const juce::Identifier settingType { "NA_PARAM" };
    static inline const juce::Identifier nameProperty { "NAME" };
    static inline const juce::Identifier idProperty { "PARAM_ID" };
    static inline const juce::Identifier valueProperty { "VALUE" };

    using Snapshot = juce::HvParamsManager::Snapshot;

    /** What a block restores: parameters in the order of the block (an id may come more than
        once), then settings, each id once with the last value given, in hand-over order. */
    struct Restored
    {
        std::vector<std::pair<int, float>> parameters;
        std::vector<std::pair<int, juce::var>> settings;
    };

    /** The state tree of the given values: every parameter and every setting. */
    static juce::ValueTree createTree (const Snapshot& values);

    /** The state block of the given values, written over destData from its start. */
    static void writeBlock (const Snapshot& values, juce::MemoryBlock& destData);

    /** Reads a block against the current values (a setting stored without a value keeps its
        current one; the older form remembers the unit only while one is connected). A block
        that is neither form, or that fails the bounded checks, restores nothing. Any thread. */
    static Restored read (const void* data, size_t numBytes, const Snapshot& current);

    /** Restores a preset: the parameters at once, as gestures with no listener behind them,
        so that the host hears them as it hears the user's edits; the settings go through their
        hand-over objects and so arrive later on the message thread. Message thread only. */
    static void restore (Eq713kParamsManager& manager, const void* data, size_t numBytes);

    /** The source a preset's parameters are applied under. It is nobody's listener, so every
        listener is told of them; the stereo linkers know it for a restored state, which holds
        both channels' values already, and do not mirror it. */
    static juce::HvParamsManager::AutomatableParamListener& presetSource();
};
