#include "core/Eq713kParamsManager.h"

#include "core/NumberText.h"
#include "core/ProductTable.h"
#include "core/StateFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

/** Truncation toward zero that stays defined for any float: a NaN or an infinity counts as 0
    and huge values saturate. */
juce::int64 integerPart (double x)
{
    if (! std::isfinite (x))
        return 0;

    constexpr auto limit = 9.0e18;
    return (juce::int64) juce::jlimit (-limit, limit, x);
}

using Control = ProductTable::Control;

/** The label of the switch position nearest to v: k = integer part of (positions - 1) × v + 0.5,
    as the unit's switch positions are read; no text beyond the ends. */
juce::String positionText (const Control& control, float v)
{
    const auto k = integerPart ((double) ((float) (control.numLabels - 1) * v) + 0.5);

    if (k < 0 || k >= control.numLabels)
        return {};

    return control.labels[(size_t) k];
}

juce::String modeText (const Control& control, float v)
{
    return control.labels[ProductTable::channelsLinked (v) ? 0 : 1];
}

juce::String onOffText (const Control& control, float v)
{
    return control.labels[(integerPart ((double) v + 0.5) & 0xff) == 0 ? 0 : 1];
}

juce::String levelText (float v)
{
    // The unit's gain step, kept to its low 8 bits as the unit's byte would be, in tenths of
    // the scale's 0..10.
    const auto n = (int) (integerPart ((double) (v * (float) ProductTable::gainSteps) + 0.5) & 0xff);
    const auto tenths = (100 * n) / ProductTable::gainSteps;
    return NumberText::fixed ((double) ((float) tenths * 0.1f), 1);
}

/** Rounds as printing with a fixed number of decimals and reading back does. */
float keepDecimals (double x, int decimals)
{
    return (float) NumberText::fixed (x, decimals).getDoubleValue();
}

float keepSignificantDigits (double x)
{
    return (float) NumberText::general (x).getDoubleValue();
}

float leadingNumber (const juce::String& text)
{
    return (float) text.getDoubleValue();
}

/** The characters a level expression may hold, in an order that can be computed. */
bool isAcceptableExpression (const juce::String& text)
{
    int operatorCounts[128] = {};
    bool minusWaitingForDigit = false;
    bool dotSeen = false;
    bool operatorSeen = false;

    for (auto c : text)
    {
        if (juce::CharacterFunctions::isDigit (c))
        {
            minusWaitingForDigit = false;
        }
        else if (c == '.')
        {
            if (dotSeen && ! operatorSeen && ! minusWaitingForDigit)
                return false;

            dotSeen = true;
        }
        else if (c == '*' || c == '+' || c == '/' || c == ':')
        {
            if (operatorCounts[c]++ > 0)
                return false;

            operatorSeen = true;
        }
        else if (c == '-')
        {
            if (minusWaitingForDigit)
                return false;

            minusWaitingForDigit = true;
        }
        else
        {
            return false;
        }
    }

    return true;
}

/** The decibel value of an accepted expression, before it is mapped onto 0..1. */
double evaluateExpression (const juce::String& text, float factor)
{
    const auto operands = [&text] (int position)
    {
        return std::make_pair (leadingNumber (text.substring (0, position)), leadingNumber (text.substring (position + 1)));
    };

    for (const auto division : { '/', ':' })
    {
        if (const auto position = text.indexOfChar (division); position > 0)
        {
            const auto [a, b] = operands (position);
            if (b == 0.0f)
                return 1000.0;

            return keepDecimals ((double) (factor * a / b), 2);
        }
    }

    if (const auto position = text.indexOfChar ('*'); position > 0)
    {
        const auto [a, b] = operands (position);
        return keepDecimals ((double) (factor * a * b), 2);
    }

    if (const auto position = text.indexOfChar ('+'); position > 0)
    {
        const auto [a, b] = operands (position);
        return keepDecimals ((double) (factor * (a + b)), 2);
    }

    if (const auto position = text.indexOfChar (1, '-'); position > 0)
    {
        const auto [a, b] = operands (position);
        return keepDecimals ((double) (factor * (a - b)), 2);
    }

    return keepSignificantDigits ((double) (factor * leadingNumber (text)));
}

} // namespace

//==============================================================================
Eq713kParamsManager::Eq713kParamsManager()
{
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        auto* hostParameter = new juce::HvDawParameter (*this, id, ParamData::paramName[id], ParamData::paramDefault[id]);
        hostParameter->setValueToTextFunction (getValueToTextFunction (id));
        addAutomatableParam (*hostParameter);
    }

    for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
    {
        const auto& setting = ProductTable::settings[(size_t) id];
        addNonAutomatableParam (setting.type == ProductTable::boolSetting ? juce::var (setting.initialValue != 0)
                                                                          : juce::var (setting.initialValue));

        settingBarriers.add (new juce::ThreadBarierNonAutomatableParameter (*this, id));
    }

    for (int firstId = ParamData::ENGAGE_1; firstId <= ParamData::HI_KCS_ATTEN_1; ++firstId)
        stereoLinkers.add (new StereoParameterLinker (*this, firstId, firstId + ParamData::channelStride));
}

Eq713kParamsManager::~Eq713kParamsManager()
{
    stereoLinkers.clear();
    settingBarriers.clear();
}

bool Eq713kParamsManager::leavesDualMono (int id, float newValue, float currentChannel) noexcept
{
    // To one half or below: a NaN goes to neither mode.
    return id == ParamData::CHANNEL && newValue <= ProductTable::channelModeBoundary
        && ProductTable::channelsApartOnUnit (currentChannel);
}

int Eq713kParamsManager::copiedChannelFirstId (int selectedChannel) noexcept
{
    // The selected channel is kept and copied onto the other.
    if (selectedChannel == 0)
        return ParamData::ENGAGE_1;

    if (selectedChannel == 1)
        return ParamData::ENGAGE_2;

    return -1;
}

void Eq713kParamsManager::setParamValue (AutomatableParamListener* source, int id, float value)
{
    const auto isHostAutomation = isHostParameter (source);

    if (getNumParams() > 0 && ! isHostAutomation && leavesDualMono (id, value, getParamValue (ParamData::CHANNEL)))
    {
        // CHANNEL is stored only after the copy, so the linkers still see "DUAL MONO" and
        // do not mirror the copied values back.
        const auto from = copiedChannelFirstId (static_cast<int> (getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)));

        if (from >= 0)
            copyChannel (from, otherChannelFirstId (from));
    }

    HvParamsManager::setParamValue (source, id, value);
}

int Eq713kParamsManager::otherChannelFirstId (int firstId) noexcept
{
    return firstId == ParamData::ENGAGE_1 ? ParamData::ENGAGE_2 : ParamData::ENGAGE_1;
}

std::vector<std::pair<int, float>> Eq713kParamsManager::valuesAfterRestoring (const std::vector<std::pair<int, float>>& restored,
                                                                              const Snapshot& current)
{
    auto values = current.params;
    std::vector<int> touched;

    const auto set = [&] (int id, float value)
    {
        values[(size_t) id] = value;

        if (std::find (touched.begin(), touched.end(), id) == touched.end())
            touched.push_back (id);
    };

    for (const auto& [id, value] : restored)
    {
        if (! juce::isPositiveAndBelow (id, (int) values.size()))
            continue;

        if (leavesDualMono (id, value, values[(size_t) ParamData::CHANNEL]))
        {
            const auto from = copiedChannelFirstId (static_cast<int> (current.settings[(size_t) ParamData::SELECTED_CHANNEL]));

            if (from >= 0)
                for (int i = 0; i < ParamData::channelStride; ++i)
                    set (otherChannelFirstId (from) + i, values[(size_t) (from + i)]);
        }

        set (id, value);
    }

    std::vector<std::pair<int, float>> result;
    for (auto id : touched)
        result.emplace_back (id, values[(size_t) id]);

    return result;
}

void Eq713kParamsManager::copyChannel (int fromFirstId, int toFirstId)
{
    for (int i = 0; i < ParamData::channelStride; ++i)
    {
        const auto target = toFirstId + i;
        beginParamGesture (nullptr, target);
        setParamValue (nullptr, target, getParamValue (fromFirstId + i));
        endParamGesture (nullptr, target);
    }
}

Eq713kParamsManager::ValueToText Eq713kParamsManager::getValueToTextFunction (int id)
{
    const auto* control = ProductTable::controlOf (id);

    if (control == nullptr)
        return [] (float v) { return NumberText::fixed ((double) v, 2); };

    switch (control->text)
    {
        case ProductTable::modeText:     return [control] (float v) { return modeText (*control, v); };
        case ProductTable::onOffText:    return [control] (float v) { return onOffText (*control, v); };
        case ProductTable::levelText:    return levelText;
        case ProductTable::positionText: return [control] (float v) { return positionText (*control, v); };
    }

    return {};
}

Eq713kParamsManager::TextToValue Eq713kParamsManager::getTextToValueFunction (int id) const
{
    const auto* control = ProductTable::controlOf (id);
    const auto entry = control != nullptr ? control->typedEntry : ProductTable::currentValue;

    switch (entry)
    {
        case ProductTable::firstLabelTest:
            return [firstLabel = juce::String (control->labels[0])] (const juce::String& text) { return text == firstLabel ? 0.0f : 1.0f; };

        case ProductTable::decibelEntry:
            return [this, id] (const juce::String& text) { return readDecibelExpression (id, text); };

        case ProductTable::currentValue:
            break;
    }

    return [this, id] (const juce::String&) { return getParamValue (id); };
}

juce::String Eq713kParamsManager::getCurrentValueAsText (int id) const
{
    return getValueToTextFunction (id) (getParamValue (id));
}

float Eq713kParamsManager::readDecibelExpression (int id, const juce::String& text) const
{
    const auto currentValue = getParamValue (id);

    if (text.isEmpty())
        return currentValue;

    auto expression = text.toLowerCase().trim();
    auto factor = 1.0f;

    if (expression.endsWith ("db"))
    {
        expression = expression.dropLastCharacters (2);
    }
    else if (expression.endsWithChar ('b'))
    {
        // Bels.
        expression = expression.dropLastCharacters (1);
        factor = 10.0f;
    }

    expression = expression.trim().replaceCharacter (',', '.').removeCharacters (" ");

    if (expression.isEmpty() || ! isAcceptableExpression (expression))
        return currentValue;

    const auto decibels = (float) evaluateExpression (expression, factor);
    return (decibels + ProductTable::typedDecibelRange) / (2.0f * ProductTable::typedDecibelRange);
}

juce::ValueTree Eq713kParamsManager::getStateInformation() const
{
    return StateFormat::createTree (takeSnapshot());
}

void Eq713kParamsManager::setStateInformation (const void* data, int sizeInBytes)
{
    if (sizeInBytes > 0)
        StateFormat::restore (*this, data, (size_t) sizeInBytes);
}
