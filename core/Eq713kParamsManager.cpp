#include "core/Eq713kParamsManager.h"

#include "core/NumberText.h"
#include "core/StateFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

using ParamTexts = std::initializer_list<const char*>;

/** Truncation toward zero that stays defined for any float: a NaN or an infinity counts as 0
    and huge values saturate. */
juce::int64 integerPart (double x)
{
    if (! std::isfinite (x))
        return 0;

    constexpr auto limit = 9.0e18;
    return (juce::int64) juce::jlimit (-limit, limit, x);
}

juce::String pickText (juce::int64 index, ParamTexts texts)
{
    if (index < 0 || index >= (juce::int64) texts.size())
        return {};

    return texts.begin()[index];
}

/** k = integer part of steps × v + 0.5, as the unit's switch positions are read. */
juce::int64 switchPosition (float v, int steps)
{
    return integerPart ((double) ((float) steps * v) + 0.5);
}

juce::String modeText (float v)
{
    return v < 0.5f ? "LINK" : "DUAL MONO";
}

juce::String onOffText (float v)
{
    return (integerPart ((double) v + 0.5) & 0xff) == 0 ? "OFF" : "ON";
}

juce::String levelText (float v)
{
    // The unit's 0..250 step, kept to its low 8 bits as the unit's byte would be.
    const auto n = (int) (integerPart ((double) (v * 250.0f) + 0.5) & 0xff);
    const auto t = (2 * n) / 5;
    return NumberText::fixed ((double) ((float) t * 0.1f), 1);
}

bool isLevelWithDecibelReading (int id)
{
    return id == ParamData::LO_BOOST_1 || id == ParamData::LO_ATTEN_1
        || id == ParamData::LO_BOOST_2 || id == ParamData::LO_ATTEN_2;
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
Eq713kParamsManager::Eq713kParamsManager (Eq713kPluginInstance& owner)
    : instance (owner)
{
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        auto* hostParameter = new juce::HvDawParameter (*this, id, ParamData::paramName[id], { 0.0, 1.0 },
                                                        ParamData::paramDefault[id]);
        hostParameter->setValueToTextFunction (getValueToTextFunction (id));
        addAutomatableParam (*hostParameter);
    }

    for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
    {
        switch (id)
        {
            case ParamData::CONNECTED_DEV_SN:    addNonAutomatableParam (juce::var (-1)); break;
            case ParamData::SHOULD_BE_CONNECTED: addNonAutomatableParam (juce::var (true)); break;
            case ParamData::SELECTED_CHANNEL:    addNonAutomatableParam (juce::var (0)); break;
            default:                             addNonAutomatableParam (juce::var (false)); break;
        }

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
    return id == ParamData::CHANNEL && newValue <= 0.5f && currentChannel > 0.5f;
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
    switch (id)
    {
        case ParamData::CHANNEL:
            return modeText;

        case ParamData::ENGAGE_1:
        case ParamData::ENGAGE_2:
            return onOffText;

        case ParamData::LO_BOOST_1: case ParamData::LO_ATTEN_1: case ParamData::HI_BOOST_1: case ParamData::HI_ATTEN_1:
        case ParamData::LO_BOOST_2: case ParamData::LO_ATTEN_2: case ParamData::HI_BOOST_2: case ParamData::HI_ATTEN_2:
            return levelText;

        case ParamData::LO_CPS_1:
        case ParamData::LO_CPS_2:
            return [] (float v) { return pickText (switchPosition (v, 3), { "20", "30", "60", "100" }); };

        case ParamData::HI_BANDWIDTH_1:
        case ParamData::HI_BANDWIDTH_2:
            return [] (float v) { return pickText (switchPosition (v, 3), { "1", "2", "3", "4" }); };

        case ParamData::HI_KCS_BOOST_1:
        case ParamData::HI_KCS_BOOST_2:
            return [] (float v) { return pickText (switchPosition (v, 6), { "3", "4", "5", "6", "10", "12", "16" }); };

        case ParamData::HI_KCS_ATTEN_1:
        case ParamData::HI_KCS_ATTEN_2:
            return [] (float v) { return pickText (switchPosition (v, 2), { "5", "10", "20" }); };

        default:
            return [] (float v) { return NumberText::fixed ((double) v, 2); };
    }
}

Eq713kParamsManager::TextToValue Eq713kParamsManager::getTextToValueFunction (int id) const
{
    if (id == ParamData::CHANNEL)
        return [] (const juce::String& text) { return text == "LINK" ? 0.0f : 1.0f; };

    if (id == ParamData::ENGAGE_1 || id == ParamData::ENGAGE_2)
        return [] (const juce::String& text) { return text == "OFF" ? 0.0f : 1.0f; };

    if (isLevelWithDecibelReading (id))
        return [this, id] (const juce::String& text) { return readDecibelExpression (id, text); };

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
    return (decibels + 15.0f) / 30.0f;
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
