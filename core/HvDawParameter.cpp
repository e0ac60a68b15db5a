#include "core/HvDawParameter.h"

#include "core/NumberText.h"

#include <cmath>

namespace juce
{

HvDawParameter::HvDawParameter (HvParamsManager& owner, int paramId, const String& paramName,
                                NormalisableRange<double> paramRange, float defaultPlainValue)
    : AudioProcessorParameterWithID (ParameterID ("p" + String (paramId), 1), paramName),
      manager (owner),
      id (paramId),
      range (paramRange),
      value ((float) range.convertTo0to1 (range.snapToLegalValue ((double) defaultPlainValue))),
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

    const auto plain = range.snapToLegalValue (range.convertFrom0to1 ((double) normalisedValue));
    return NumberText::fixed (plain, decimals);
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
    const auto plain = (double) (float) number.getDoubleValue();

    return jlimit (0.0f, 1.0f, (float) range.convertTo0to1 (jlimit (range.start, range.end, plain)));
}

AudioProcessorParameter::Category HvDawParameter::getCategory() const
{
    return category;
}

float HvDawParameter::getHostValueInPlainUnits() const
{
    const auto normalised = jlimit (0.0, 1.0, (double) value.load());
    return (float) range.convertFrom0to1 (normalised);
}

float HvDawParameter::toNormalised (float plainValue) const
{
    return (float) range.convertTo0to1 (range.snapToLegalValue ((double) plainValue));
}

void HvDawParameter::takeRestoredValue (float plainValue, bool tellListeners)
{
    const auto normalised = toNormalised (plainValue);
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
    const auto normalised = toNormalised (newValue);
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
