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

    Host changes arrive on any thread, are stored atomically and reach the manager later, on
    the message thread, through the manager's hand-over. The manager's changes and gestures go
    on to the host, except the values the host restored itself: it has those already.

    The host's processor owns it and may destroy it on the host's thread; it keeps no work of
    its own on the message thread, and the manager reaches it only through its gate.
*/
class HvDawParameter : public AudioProcessorParameterWithID,
                       public HvParamsManager::AutomatableParamListener
{
public:
    using ValueToTextFunction = std::function<String (float)>;

    /** Every value is a number from 0 to 1, the same for the host as for the store. */
    HvDawParameter (HvParamsManager& manager, int id, const String& name, float defaultValue);
    ~HvDawParameter() override;

    void setValueToTextFunction (ValueToTextFunction function) { valueToText = std::move (function); }

    int getId() const noexcept { return id; }

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    String getName (int maximumStringLength) const override;
    String getLabel() const override;
    String getText (float normalisedValue, int maximumStringLength) const override;
    float getValueForText (const String& text) const override;
    Category getCategory() const override;

    /** The host's current value, held within 0..1. */
    float getHostValue() const;

    /** Any thread, inside the host's restore: the host's view becomes the restored value. The value goes to this parameter's listeners (the host's wrapper) as a value
        change, without a gesture, only when tellListeners is set. */
    void takeRestoredValue (float value, bool tellListeners);

    /** Ends at the host a gesture begun there and not yet ended, when this parameter is
        about to go; called once the manager has stopped calling it. */
    void endGestureLeftOpen();

    /** The source under which the values of a host's restore reach the manager's listeners on
        the message thread: the host holds them already, so they are not reported back to it,
        and they carry both channels, so they are not mirrored. Nobody's listener. */
    static HvParamsManager::AutomatableParamListener& hostRestoreSource();

    void paramValueChanged (AutomatableParamListener* source, int id, float value) override;
    void paramGestureChanged (AutomatableParamListener* source, int id, bool starting) override;
    void paramValueChanged (int id, float value) override;
    void paramGestureChanged (int id, bool starting) override;

private:
    /** Held within 0..1 as the framework's ranges snap a value: an end for anything at or
        beyond it (so also a negative zero gives 0), a NaN left as it is. */
    static float withinRange (float value) noexcept;

    ValueToTextFunction valueToText;
    HvParamsManager& manager;
    const int id;
    std::atomic<float> value;
    std::atomic<bool> gestureOpenAtHost { false };
    float defaultValue;
    const int decimals = 2; // of the fallback text
    // The name, the (empty) label and the generic category are the base's.

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvDawParameter)
};

} // namespace juce
