#include "core/StateBlockCheck.h"
#include "core/StateFormat.h"

#include "support/MessagePump.h"
#include "support/StateBlocks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace
{

//==============================================================================
// The framework's value-tree stream format, written by hand so that blocks can be bent.

std::string compressed (int value)
{
    auto magnitude = (juce::uint32) (value < 0 ? -(juce::int64) value : value);
    std::string bytes;
    while (magnitude > 0)
    {
        bytes += (char) (magnitude & 0xff);
        magnitude >>= 8;
    }
    return (char) (bytes.size() | (value < 0 ? 0x80u : 0u)) + bytes;
}

std::string name (const std::string& text) { return text + '\0'; }

std::string le32 (juce::uint32 v)
{
    return { (char) (v & 0xff), (char) ((v >> 8) & 0xff), (char) ((v >> 16) & 0xff), (char) (v >> 24) };
}

std::string intVar (int v) { return compressed (5) + '\x01' + le32 ((juce::uint32) v); }
std::string boolVar (bool v) { return compressed (1) + (v ? '\x02' : '\x03'); }
std::string stringVar (const std::string& text) { return compressed ((int) text.size() + 2) + '\x05' + text + '\0'; }

using Properties = std::vector<std::pair<std::string, std::string>>;

std::string tree (const std::string& type, const Properties& properties = {}, const std::vector<std::string>& children = {})
{
    auto bytes = name (type) + compressed ((int) properties.size());
    for (const auto& [propertyName, value] : properties)
        bytes += name (propertyName) + value;
    bytes += compressed ((int) children.size());
    for (const auto& child : children)
        bytes += child;
    return bytes;
}

const std::string root = StateFormat::rootTypeName;

bool passes (const std::string& bytes)
{
    return StateBlockCheck::isValueTreeOfType (bytes.data(), bytes.size(), StateFormat::rootTypeName);
}

std::string nested (int depth)
{
    auto bytes = tree ("N");
    for (int i = 2; i < depth; ++i)
        bytes = tree ("N", {}, { bytes });
    return tree (root, {}, { bytes });
}

std::string withProperties (int count, const std::string& type = root)
{
    Properties properties;
    for (int i = 0; i < count; ++i)
        properties.emplace_back ("p" + std::to_string (i), boolVar (true));
    return tree (type, properties);
}

std::string withChildren (int count)
{
    return tree (root, {}, std::vector<std::string> ((size_t) count, tree ("C")));
}

//==============================================================================
TEST (StateBlockCheckTest, TheBlocksOfThisPluginAndEveryValueTypePass)
{
    Eq713kPluginInstance instance;
    const auto defaultState = stateOf (instance);
    EXPECT_TRUE (StateBlockCheck::isValueTreeOfType (defaultState.getData(), defaultState.getSize(), StateFormat::rootTypeName));

    auto everyType = juce::ValueTree (StateFormat::rootType);
    everyType.setProperty ("int", 1, nullptr);
    everyType.setProperty ("int64", (juce::int64) 1 << 40, nullptr);
    everyType.setProperty ("double", 0.5, nullptr);
    everyType.setProperty ("bool", true, nullptr);
    everyType.setProperty ("text", juce::String (juce::CharPointer_UTF8 ("gr\xc3\xbc\xc3\x9f")), nullptr);
    everyType.setProperty ("empty", "", nullptr);
    everyType.setProperty ("void", juce::var(), nullptr);
    everyType.setProperty ("undefined", juce::var::undefined(), nullptr);
    everyType.setProperty ("binary", juce::MemoryBlock (3, true), nullptr);
    everyType.setProperty ("array", juce::Array<juce::var> { 1, "two", juce::Array<juce::var> { 3.0 } }, nullptr);
    everyType.appendChild (juce::ValueTree ("CHILD"), nullptr);

    const auto block = blockOf (everyType);
    EXPECT_TRUE (StateBlockCheck::isValueTreeOfType (block.getData(), block.getSize(), StateFormat::rootTypeName));

    // The framework's reader stops after the tree, and so does the check.
    EXPECT_TRUE (passes (std::string (static_cast<const char*> (block.getData()), block.getSize()) + "trailing"));
}

TEST (StateBlockCheckTest, AnythingTheFrameworksReaderWouldMisreadIsRejected)
{
    const struct { const char* what; std::string bytes; } cases[] = {
        { "another root type", tree ("HV_EQ713K_2_0_0") },
        { "no root type", tree ("") },
        { "negative property count", name (root) + compressed (-1) + compressed (0) },
        { "property count past the block", name (root) + compressed (3) + name ("p") + boolVar (true) + compressed (0) },
        { "compressed int of 5 bytes", name (root) + "\x05\x01\x00\x00\x00\x00" + compressed (0) },
        { "compressed int past the int range", name (root) + "\x04\xff\xff\xff\xff" + compressed (0) },
        { "compressed int cut off", name (root) + "\x02\x01" },
        { "empty property name", tree (root, { { "", boolVar (true) } }) },
        { "property name not UTF-8", tree (root, { { "\xff", boolVar (true) } }) },
        { "empty child type", tree (root, {}, { tree ("") }) },
        { "child type not UTF-8", tree (root, {}, { tree ("\xc3") }) },
        { "negative child count", name (root) + compressed (0) + compressed (-2) },
        { "child count past the block", name (root) + compressed (0) + compressed (2) + tree ("C") },
        { "int with the length of a double", tree (root, { { "p", compressed (9) + '\x01' + le32 (1) + le32 (0) } }) },
        { "bool with a payload", tree (root, { { "p", compressed (2) + "\x02\x00" } }) },
        { "negative var length", tree (root, { { "p", compressed (-5) } }) },
        { "unknown var type", tree (root, { { "p", compressed (1) + '\x0a' } }) },
        { "string without terminator", tree (root, { { "p", compressed (3) + "\x05" "ab" } }) },
        { "string with a zero inside", tree (root, { { "p", compressed (5) + "\x05" "a\0b\0" } }) },
        { "string not UTF-8", tree (root, { { "p", stringVar ("\xe2\x82") } }) },
        { "binary past the block", tree (root, { { "p", compressed (1000) + '\x08' + "abc" } }) },
        { "array shorter than its elements", tree (root, { { "p", compressed (2) + '\x07' + compressed (1) + intVar (1) } }) },
        { "array longer than its elements", tree (root, { { "p", compressed (9) + '\x07' + compressed (1) + intVar (1) + "xx" } }) },
        { "array with a negative count", tree (root, { { "p", compressed (3) + '\x07' + compressed (-1) } }) },
        { "too deep", nested (StateBlockCheck::maxDepth + 1) },
        { "too many properties", withProperties (StateBlockCheck::maxPropertiesPerNode + 1) },
        { "too many nodes", withChildren (StateBlockCheck::maxItems) },
        { "too many properties in all", tree (root, {}, std::vector<std::string> (130, withProperties (32, "C"))) },
        { "too large", tree (root, { { "p", compressed ((int) StateBlockCheck::maxBlockBytes) + '\x08' + std::string (StateBlockCheck::maxBlockBytes, 'x') } }) },
    };

    for (const auto& c : cases)
        EXPECT_FALSE (passes (c.bytes)) << c.what;

    // The limits themselves are allowed.
    EXPECT_TRUE (passes (nested (StateBlockCheck::maxDepth)));
    EXPECT_TRUE (passes (withProperties (StateBlockCheck::maxPropertiesPerNode)));
    EXPECT_TRUE (passes (withChildren (StateBlockCheck::maxItems - 1)));
    EXPECT_TRUE (passes (tree (root, { { "p", stringVar ("") } })));
}

//==============================================================================
// Blocks that once kept the framework's readers busy for minutes or crashed them.

std::string hugePropertyCount()
{
    // 22 bytes: the root type, then a property count of 2^31 - 1 and one stray byte.
    return name (root) + "\x04\xff\xff\xff\x7f" + "\x01";
}

std::string deeplyNestedChildren()
{
    // About 1 MB: children inside children, each saying it has one child.
    std::string bytes = name (root) + compressed (0) + compressed (1);
    while (bytes.size() < 1000000)
        bytes += name ("N") + compressed (0) + compressed (1);
    return bytes;
}

std::string deeplyNestedXml()
{
    // About 100 KB of elements inside elements.
    std::string text;
    while (text.size() < 100000)
        text += "<a>";
    return text;
}

TEST (StateBlockCheckTest, BlocksThatOnceHungOrCrashedTheReadersRestoreNothing)
{
    const struct { const char* what; std::string bytes; } cases[] = {
        { "huge property count", hugePropertyCount() },
        { "deeply nested children", deeplyNestedChildren() },
        { "deeply nested XML", deeplyNestedXml() },
        { "deeply nested XML, closed", deeplyNestedXml() + "<parameters><2 value=\"1\"/></parameters>" },
        { "a DOCTYPE with an entity that expands itself",
          "<!DOCTYPE s [<!ENTITY a \"&a;&a;\">]><s><parameters><2 value=\"1\"/></parameters>&a;</s>" },
    };

    ASSERT_EQ (hugePropertyCount().size(), 22u);

    for (const auto& c : cases)
    {
        Eq713kPluginInstance instance;
        const auto initialState = stateOf (instance);

        restore (instance, blockOf (c.bytes));
        pumpPendingMessages();

        EXPECT_EQ (stateOf (instance), initialState) << c.what;
    }
}

TEST (StateBlockCheckTest, EveryCutOffOrFlippedStateRestoresAValidStateOrNothing)
{
    Eq713kPluginInstance source;
    auto& sourceManager = source.getProductManager();
    sourceManager.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        sourceManager.setParamValue (nullptr, id, 0.5f);
    sourceManager.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
    const auto state = stateOf (source);
    const auto* bytes = static_cast<const char*> (state.getData());

    // One instance, restored again and again, as a host may do.
    Eq713kPluginInstance target;
    const auto initialState = stateOf (target);

    for (size_t length = 0; length < state.getSize(); ++length)
    {
        restore (target, blockOf (std::string (bytes, length)));
        pumpPendingMessages();
        ASSERT_EQ (stateOf (target), initialState) << "cut off at " << length;
    }

    for (size_t i = 0; i < state.getSize(); ++i)
    {
        for (const auto flip : { 0x01, 0x80, 0xff })
        {
            auto changed = std::string (bytes, state.getSize());
            changed[i] = (char) (changed[i] ^ flip);

            restore (target, blockOf (changed));
            pumpPendingMessages();

            auto& manager = target.getProductManager();
            for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
            {
                const auto value = manager.getParamValue (id);
                ASSERT_TRUE (value >= 0.0f && value <= 1.0f) << "byte " << i << " id " << id;
            }

            ASSERT_TRUE (manager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN).isInt());
            const auto channel = manager.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL);
            ASSERT_TRUE (channel.isInt() && ((int) channel == 0 || (int) channel == 1)) << "byte " << i;
            ASSERT_TRUE (manager.getNonAutomatableParamValue (ParamData::SHOULD_BE_CONNECTED).isBool());
            ASSERT_TRUE (manager.getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW).isBool());
        }
    }
}

} // namespace
