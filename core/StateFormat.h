#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>

class Eq713kParamsManager;

namespace juce
{
class HvParamsManager;
}

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

    /** The state tree of the current values: every parameter and every setting. */
    static juce::ValueTree createTree (const juce::HvParamsManager& manager);

    /** Restores the parameters, as gestures with no source, before returning; the restored
        settings go through their hand-over objects and so arrive later on the message
        thread. A block that is neither form, or that fails the bounded checks, restores
        nothing. Message thread only. */
    static void restore (Eq713kParamsManager& manager, const void* data, size_t numBytes);
};
