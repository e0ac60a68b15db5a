#include "core/HvDawParameter.h"

#include "core/NumberText.h"

#include <cmath>

namespace juce
{

HvDawParameter::HvDawParameter (HvParamsManager& owner, int paramId, const String& paramName, float initialValue)
    : AudioProcessorParameterWithID (ParameterID ("p" + String (paramId), 1), paramName),
      manager (owner),
      id (paramId),
      value (withinRange (initialValue)),
      defaultValue (value.load())
{
}

HvDawParameter::~HvDawParameter() = default;

float HvDawParameter::getValue() const
{
    return value.load();
}

void HvDawParameter::setValue (float newValue)
{
    // A NaN or an infinity from the host would poison the store and everything fed from it.
    if (! std::isfinite (newValue))
        return;

    if (value.exchange (newValue) == newValue)
        return;

    manager.handOverHostChange (id);
}

float HvDawParameter::getDefaultValue() const
{
    return defaultValue;
}

String HvDawParameter::getName (int) const
{
    return name;
}

String HvDawParameter::getLabel() const
{
    return label;
}

String HvDawParameter::getText (float normalisedValue, int) const
{
    if (valueToText)
        return valueToText (normalisedValue);

    return NumberText::fixed ((double) withinRange (normalisedValue), decimals);
}

float HvDawParameter::getValueForText (const String& text) const
{
    auto remaining = text.trimStart();

    if (label.isNotEmpty() && remaining.endsWith (label))
        remaining = remaining.dropLastCharacters (label.length());

    while (remaining.startsWithChar ('+'))
        remaining = remaining.substring (1).trimStart();

    // The text's number is read as the normalised value, whatever the process locale.
    const auto number = remaining.initialSectionContainingOnly ("0123456789.,-").replaceCharacter (',', '.');
    return jlimit (0.0f, 1.0f, (float) number.getDoubleValue());
}

AudioProcessorParameter::Category HvDawParameter::getCategory() const
{
    return category;
}

float HvDawParameter::getHostValue() const
{
    return withinRange (value.load());
}

float HvDawParameter::withinRange (float v) noexcept
{
    return v <= 0.0f ? 0.0f : (v >= 1.0f ? 1.0f : v);
}

void HvDawParameter::takeRestoredValue (float restoredValue, bool tellListeners)
{
    const auto normalised = withinRange (restoredValue);
    value.store (normalised);

    if (tellListeners)
        sendValueChangedMessageToListeners (normalised);
}

HvParamsManager::AutomatableParamListener& HvDawParameter::hostRestoreSource()
{
    static AutomatableParamListener source;
    return source;
}

void HvDawParameter::paramValueChanged (AutomatableParamListener* source, int paramId, float newValue)
{
    if (source != &hostRestoreSource())
        AutomatableParamListener::paramValueChanged (source, paramId, newValue);
}

void HvDawParameter::paramGestureChanged (AutomatableParamListener* source, int paramId, bool starting)
{
    if (source != &hostRestoreSource())
        AutomatableParamListener::paramGestureChanged (source, paramId, starting);
}

void HvDawParameter::paramValueChanged (int, float newValue)
{
    const auto normalised = withinRange (newValue);
    value.exchange (normalised);

    // Calls setValue with the value just stored, which is equal and so goes no further.
    setValueNotifyingHost (normalised);
}

void HvDawParameter::paramGestureChanged (int, bool starting)
{
    gestureOpenAtHost.store (starting);

    if (starting)
        beginChangeGesture();
    else
        endChangeGesture();
}

void HvDawParameter::endGestureLeftOpen()
{
    if (gestureOpenAtHost.exchange (false))
        endChangeGesture();
}

} // namespace juce
