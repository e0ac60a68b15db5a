#pragma once

#include "core/HvDawParameter.h"
#include "core/HvParamsManager.h"
#include "core/ParamData.h"
#include "core/StereoParameterLinker.h"
#include "core/ThreadBarierNonAutomatableParameter.h"

#include <juce_data_structures/juce_data_structures.h>

#include <functional>
#include <utility>
#include <vector>

/** The product's parameter store: 19 parameters, 11 settings, their value texts and
    text readings, the stereo linkers, and the copy of one channel onto the other when the
    channel mode goes from "DUAL MONO" to "LINK".
*/
class Eq713kParamsManager : public juce::HvParamsManager
{
public:
    using ValueToText = std::function<juce::String (float)>;
    using TextToValue = std::function<float (const juce::String&)>;

    Eq713kParamsManager();
    ~Eq713kParamsManager() override;

    void setParamValue (AutomatableParamListener* source, int id, float value) override;

    static ValueToText getValueToTextFunction (int id);
    TextToValue getTextToValueFunction (int id) const;
    juce::String getCurrentValueAsText (int id) const;

    /** The hand-over object of a setting, for changes that come from any thread. */
    juce::ThreadBarierNonAutomatableParameter* getSettingBarrier (int id) const { return settingBarriers[id]; }

    /** The state tree of the current values, built fresh for every save. Any thread. */
    juce::ValueTree getStateInformation() const;

    /** Restores from a state block or an older XML form, on the message thread (a preset):
        the parameters at once, as gestures, the settings later through their hand-over
        objects. */
    void setStateInformation (const void* data, int sizeInBytes);

    /** The values a host's restore leaves, each touched id once in the order it was first
        touched: the restored parameters applied one after the other to the current values,
        with the copy of the selected channel onto the other when CHANNEL leaves "DUAL MONO",
        as the same changes made here would leave them. */
    static std::vector<std::pair<int, float>> valuesAfterRestoring (const std::vector<std::pair<int, float>>& restored,
                                                                    const Snapshot& current);

private:
    static bool leavesDualMono (int id, float newValue, float currentChannel) noexcept;
    static int copiedChannelFirstId (int selectedChannel) noexcept;
    static int otherChannelFirstId (int firstId) noexcept;

    void copyChannel (int fromFirstId, int toFirstId);
    float readDecibelExpression (int id, const juce::String& text) const;

    juce::OwnedArray<juce::ThreadBarierNonAutomatableParameter> settingBarriers;
    juce::OwnedArray<StereoParameterLinker> stereoLinkers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kParamsManager)
};
