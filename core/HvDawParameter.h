#pragma once

#include "core/HvParamsManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>

namespace juce
{

/** The host-facing parameter of one automatable id; the host's parameter index is the id.

    It carries a textual id ("p" and the id) only because LV2 names its ports by it; VST3
    and the other formats address it by index.

    Host changes arrive on any thread, are stored atomically and reach the manager from an
    asynchronous update on the message thread. The manager's changes and gestures go on to
    the host.
*/
class HvDawParameter : public AudioProcessorParameterWithID,
                       private AsyncUpdater,
                       public HvParamsManager::AutomatableParamListener
{
public:
    using ValueToTextFunction = std::function<String (float)>;

    HvDawParameter (HvParamsManager& manager, int id, const String& name,
                    NormalisableRange<double> range, float defaultValue);
    ~HvDawParameter() override;

    void setValueToTextFunction (ValueToTextFunction function) { valueToText = std::move (function); }

    int getId() const noexcept { return id; }
    const NormalisableRange<double>& getNormalisableRange() const noexcept { return range; }

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    String getName (int maximumStringLength) const override;
    String getLabel() const override;
    String getText (float normalisedValue, int maximumStringLength) const override;
    float getValueForText (const String& text) const override;
    Category getCategory() const override;

    using HvParamsManager::AutomatableParamListener::paramValueChanged;
    using HvParamsManager::AutomatableParamListener::paramGestureChanged;
    void paramValueChanged (int id, float value) override;
    void paramGestureChanged (int id, bool starting) override;

private:
    void handleAsyncUpdate() override;

    ValueToTextFunction valueToText;
    HvParamsManager& manager;
    const int id;
    const NormalisableRange<double> range;
    std::atomic<float> value;
    float defaultValue;
    const int decimals = 2; // of the fallback text
    // The name, the (empty) label and the generic category are the base's.

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvDawParameter)
};

} // namespace juce
