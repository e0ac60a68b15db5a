#include "core/StateFormat.h"

#include "core/Eq713kParamsManager.h"
#include "core/ParamData.h"
#include "core/ProductTable.h"
#include "core/StateBlockCheck.h"
#include "core/StateXmlReader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{

using Element = StateXmlReader::Element;
using Snapshot = juce::HvParamsManager::Snapshot;

//==============================================================================
// Numbers from text. The framework's own readers overflow a signed int on long digit runs
// (an undefined result), so these read the same forms without that.

bool isDigit (char c) noexcept { return c >= '0' && c <= '9'; }

bool startsWithIgnoringCase (const std::string& text, size_t position, const char* word)
{
    for (size_t i = 0; word[i] != 0; ++i)
        if (position + i >= text.size() || juce::CharacterFunctions::toLowerCase ((juce::juce_wchar) (juce::uint8) text[position + i]) != (juce::juce_wchar) word[i])
            return false;

    return true;
}

/** The leading decimal number of a text as the framework reads one (white space, a sign,
    "nan" or "inf", digits with one point, an exponent; 0 when there is no number), with an
    exponent longer than 9 digits taken as the overflow or underflow it stands for. `end`
    is set to the index after the number, or 0 when there is none. */
double leadingNumber (const std::string& text, size_t& end)
{
    size_t i = 0;
    while (i < text.size() && juce::CharacterFunctions::isWhitespace (text[i]))
        ++i;

    const auto start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;

    if (startsWithIgnoringCase (text, i, "nan") || startsWithIgnoringCase (text, i, "inf"))
    {
        end = i + 3;
        return juce::String (text.substr (start, end - start)).getDoubleValue();
    }

    auto hasDigits = false;
    for (; i < text.size() && isDigit (text[i]); ++i)
        hasDigits = true;

    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit (text[i]); ++i)
            hasDigits = true;

    if (! hasDigits)
    {
        end = 0;
        return 0.0;
    }

    auto number = text.substr (start, i - start);

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        auto j = i + 1;
        const auto negative = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            ++j;

        const auto digitsStart = j;
        while (j < text.size() && isDigit (text[j]))
            ++j;

        if (j > digitsStart)
        {
            auto firstSignificant = digitsStart;
            while (firstSignificant + 1 < j && text[firstSignificant] == '0')
                ++firstSignificant;

            number += negative ? "e-" : "e";
            number += j - firstSignificant > 9 ? std::string ("999") : text.substr (firstSignificant, j - firstSignificant);
            i = j;
        }
    }

    end = i;
    return juce::String (number).getDoubleValue();
}

/** The framework's reading of an attribute as a double: the leading number, else 0. */
double leadingNumber (const juce::String& text)
{
    size_t end = 0;
    return leadingNumber (text.toStdString(), end);
}

/** A text that is one decimal number and nothing else, as a tree that went through XML
    holds its numbers. */
std::optional<double> wholeNumber (const juce::String& text)
{
    const auto trimmed = text.trim().toStdString();

    size_t end = 0;
    const auto number = leadingNumber (trimmed, end);

    if (end == 0 || end != trimmed.size())
        return {};

    return number;
}

/** The leading decimal integer of a text as the framework reads one, held at the ends of
    the int range instead of wrapping round. */
int leadingInteger (const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();

    const auto negative = *p == '-';
    if (negative)
        ++p;

    juce::int64 magnitude = 0;
    while (p.isDigit())
        magnitude = juce::jmin (magnitude * 10 + (juce::int64) (p.getAndAdvance() - '0'), (juce::int64) 1 << 32);

    const auto value = negative ? -magnitude : magnitude;
    return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(), (juce::int64) std::numeric_limits<int>::max(), value);
}

//==============================================================================
// Values from the tree. A var read from a block can be of any type; these take the types
// whose meaning is clear and leave the rest.

std::optional<double> numberFrom (const juce::var& value, bool acceptBool)
{
    if (value.isInt() || value.isInt64() || (acceptBool && value.isBool()))
        return (double) static_cast<juce::int64> (value);

    if (value.isDouble())
        return static_cast<double> (value);

    if (value.isString())
        return wholeNumber (value.toString());

    return {};
}

std::optional<int> integerFrom (const juce::var& value)
{
    const auto number = numberFrom (value, false);

    if (! number.has_value() || ! std::isfinite (*number) || std::trunc (*number) != *number
        || *number < (double) std::numeric_limits<int>::min() || *number > (double) std::numeric_limits<int>::max())
        return {};

    return (int) *number;
}

std::optional<bool> boolFrom (const juce::var& value)
{
    if (value.isBool())
        return static_cast<bool> (value);

    if (value.isString())
    {
        const auto text = value.toString().trim();

        if (text.equalsIgnoreCase ("true"))
            return true;

        if (text.equalsIgnoreCase ("false"))
            return false;
    }

    const auto number = numberFrom (value, false);

    if (number == 0.0)
        return false;

    if (number == 1.0)
        return true;

    return {};
}

/** A restored setting as it may be stored: of the setting's own type, and an int within the
    setting's bounds (a channel that exists). */
std::optional<juce::var> settingFrom (int id, const juce::var& value)
{
    const auto& setting = ProductTable::settings[(size_t) id];

    if (setting.type == ProductTable::boolSetting)
    {
        if (const auto flag = boolFrom (value))
            return juce::var (*flag);

        return {};
    }

    if (const auto number = integerFrom (value); number.has_value() && *number >= setting.lowest && *number <= setting.highest)
        return juce::var (*number);

    return {};
}

bool isRestoredSetting (int id)
{
    return juce::isPositiveAndBelow (id, ParamData::NUM_NA_PARAMS) && ProductTable::settings[(size_t) id].restored;
}

//==============================================================================
using Restored = StateFormat::Restored;

void addParameter (Restored& restored, int id, float value)
{
    restored.parameters.emplace_back (id, value);
}

/** Each setting id once, with the last value the block gave it, in the order in which the
    hand-overs would have been made. */
void addSetting (Restored& restored, int id, juce::var value)
{
    auto& settings = restored.settings;

    for (auto it = settings.begin(); it != settings.end(); ++it)
    {
        if (it->first == id)
        {
            settings.erase (it);
            break;
        }
    }

    settings.emplace_back (id, std::move (value));
}

//==============================================================================
void restorePreset (Restored& restored, const juce::ValueTree& preset)
{
    // The position of a child names the parameter; its own "PARAM_ID" is not consulted.
    const auto numPositions = juce::jmin (preset.getNumChildren(), (int) ParamData::NUM_PARAMS);

    for (int i = 0; i < numPositions; ++i)
    {
        const auto child = preset.getChild (i);
        if (! child.hasType (StateFormat::paramType))
            continue;

        double number = ParamData::paramDefault[i];

        if (const auto* stored = child.getPropertyPointer (StateFormat::valueProperty))
        {
            const auto converted = numberFrom (*stored, true);
            if (! converted.has_value())
                continue;

            number = *converted;
        }

        // Clamped before the conversion to float, which would overflow on a huge value.
        if (std::isfinite (number))
            addParameter (restored, i, (float) juce::jlimit (0.0, 1.0, number));
    }
}

bool isPresetZero (const juce::ValueTree& preset)
{
    const auto* number = preset.getPropertyPointer (StateFormat::presetNumberProperty);
    if (number == nullptr)
        return true;

    const auto converted = numberFrom (*number, true);
    return converted.has_value() && std::isfinite (*converted) && std::trunc (*converted) == 0.0;
}

void collectSettings (const Snapshot& current, const juce::ValueTree& settings, Restored& restored)
{
    for (const auto& child : settings)
    {
        const auto* storedId = child.getPropertyPointer (StateFormat::idProperty);
        if (storedId == nullptr)
            continue;

        // Read as an int is read: the integer part.
        const auto idNumber = numberFrom (*storedId, false);
        if (! idNumber.has_value() || ! (std::abs (*idNumber) < (double) ParamData::NUM_NA_PARAMS))
            continue;

        const auto id = (int) std::trunc (*idNumber);
        if (! isRestoredSetting (id))
            continue;
        const auto* storedValue = child.getPropertyPointer (StateFormat::valueProperty);
        const auto value = storedValue != nullptr ? *storedValue : current.settings[(size_t) id];

        if (auto setting = settingFrom (id, value))
            addSetting (restored, id, std::move (*setting));
    }
}

void readTree (const Snapshot& current, const juce::ValueTree& state, Restored& restored)
{
    if (! state.isValid() || ! state.hasType (StateFormat::rootType))
        return;

    for (const auto& child : state)
    {
        if (child.hasType (StateFormat::presetType))
        {
            if (isPresetZero (child))
                restorePreset (restored, child);
        }
        else if (child.hasType (StateFormat::settingsType))
        {
            collectSettings (current, child, restored);
        }
    }
}

//==============================================================================
void readXmlParameters (Restored& restored, const Element& parameters)
{
    for (const auto& child : parameters.children)
    {
        const auto id = leadingInteger (child->tagName);
        if (! juce::isPositiveAndBelow (id, (int) ParamData::NUM_PARAMS))
            continue;

        const auto* stored = child->findAttribute ("value");
        const auto number = stored != nullptr ? leadingNumber (*stored) : 0.0;

        // Out of range is skipped here, as these forms always were; the bounds come first
        // so that the conversion to float cannot overflow.
        if (! std::isfinite (number) || number < -1.0 || number > 2.0)
            continue;

        const auto value = (float) number;
        if (value >= 0.0f && value <= 1.0f)
            addParameter (restored, id, value);
    }
}

int integerAttribute (const Element& element, const char* name)
{
    const auto* stored = element.findAttribute (name);
    return stored != nullptr ? leadingInteger (*stored) : 0;
}

void readXml (const Snapshot& current, const juce::String& text, Restored& restored)
{
    if (text.isEmpty())
        return;

    const auto root = StateXmlReader::parse (text);
    if (root == nullptr)
        return;

    const auto* presets = root->findChildIgnoringCase ("presets");

    if (presets == nullptr)
    {
        if (const auto* parameters = root->findChildIgnoringCase ("parameters"))
            readXmlParameters (restored, *parameters);

        return;
    }

    const auto active = integerAttribute (*root, "active");
    const auto deviceNumber = integerAttribute (*root, "devNo");

    for (const auto& preset : presets->children)
        if (leadingInteger (preset->tagName) == active)
            if (const auto* parameters = preset->findChildIgnoringCase ("parameters"))
                readXmlParameters (restored, *parameters);

    // The unit is remembered only while one is connected.
    if (deviceNumber >= 0 && static_cast<bool> (current.settings[(size_t) ParamData::IS_CONNECTED]))
    {
        addSetting (restored, ParamData::SHOULD_BE_CONNECTED, true);
        addSetting (restored, ParamData::CONNECTED_DEV_SN, deviceNumber);
    }
}

/** "VC2!", a little-endian length above 0, then UTF-8 text: the framework's binary wrapping
    of XML. */
bool isWrappedXml (const juce::uint8* bytes, size_t numBytes)
{
    return numBytes >= 9 && std::memcmp (bytes, "VC2!", 4) == 0 && (int) juce::ByteOrder::littleEndianInt (bytes + 4) > 0;
}

juce::String wrappedXmlText (const juce::uint8* bytes, size_t numBytes)
{
    const auto length = juce::jmin ((size_t) (int) juce::ByteOrder::littleEndianInt (bytes + 4), numBytes - 8);
    const auto* text = reinterpret_cast<const char*> (bytes + 8);

    // Not text at all: nothing to parse, and the rest of the block cannot be another form.
    if (! juce::CharPointer_UTF8::isValidString (text, (int) length))
        return {};

    return juce::String (juce::CharPointer_UTF8 (text), juce::CharPointer_UTF8 (text + length));
}

} // namespace

//==============================================================================
juce::ValueTree StateFormat::createTree (const Snapshot& values)
{
    jassert ((int) values.params.size() == ParamData::NUM_PARAMS && (int) values.settings.size() == ParamData::NUM_NA_PARAMS);

    juce::ValueTree preset (presetType);
    preset.setProperty (presetNumberProperty, 0, nullptr);

    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        juce::ValueTree param (paramType);
        param.setProperty (nameProperty, ParamData::paramName[id], nullptr);
        param.setProperty (idProperty, id, nullptr);
        param.setProperty (valueProperty, (double) values.params[(size_t) id], nullptr);
        preset.appendChild (param, nullptr);
    }

    juce::ValueTree settings (settingsType);

    for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
    {
        juce::ValueTree setting (settingType);
        setting.setProperty (nameProperty, ParamData::naParamName[id], nullptr);
        setting.setProperty (idProperty, id, nullptr);
        setting.setProperty (valueProperty, values.settings[(size_t) id], nullptr);
        settings.appendChild (setting, nullptr);
    }

    juce::ValueTree state (rootType);
    state.appendChild (preset, nullptr);
    state.appendChild (settings, nullptr);
    return state;
}

void StateFormat::writeBlock (const Snapshot& values, juce::MemoryBlock& destData)
{
    // From the block's start: it ends up exactly as long as the stream.
    juce::MemoryOutputStream out (destData, false);
    createTree (values).writeToStream (out);
}

StateFormat::Restored StateFormat::read (const void* data, size_t numBytes, const Snapshot& current)
{
    Restored restored;

    if (data == nullptr || numBytes == 0 || numBytes > StateBlockCheck::maxBlockBytes
        || (int) current.params.size() != ParamData::NUM_PARAMS || (int) current.settings.size() != ParamData::NUM_NA_PARAMS)
        return restored;

    const auto* bytes = static_cast<const juce::uint8*> (data);

    // The forms cannot be mistaken for each other: a state tree starts with its root type
    // and XML text, once past any byte-order mark, white space or markup, with a '<'.
    if (isWrappedXml (bytes, numBytes))
        readXml (current, wrappedXmlText (bytes, numBytes), restored);
    else if (StateBlockCheck::isValueTreeOfType (data, numBytes, rootTypeName))
        readTree (current, juce::ValueTree::readFromData (data, numBytes), restored);
    else
        readXml (current, juce::String::createStringFromData (data, (int) numBytes), restored);

    return restored;
}

void StateFormat::restore (Eq713kParamsManager& manager, const void* data, size_t numBytes)
{
    JUCE_ASSERT_MESSAGE_THREAD

    const auto restored = read (data, numBytes, manager.takeSnapshot());

    auto* source = &presetSource();

    for (const auto& [id, value] : restored.parameters)
    {
        manager.beginParamGesture (source, id);
        manager.setParamValue (source, id, value);
        manager.endParamGesture (source, id);
    }

    for (const auto& [id, value] : restored.settings)
        if (auto* barrier = manager.getSettingBarrier (id))
            barrier->setParamValue (value);
}

juce::HvParamsManager::AutomatableParamListener& StateFormat::presetSource()
{
    static juce::HvParamsManager::AutomatableParamListener source;
    return source;
}
