#include "core/Eq713kPluginInstance.h"
#include "core/StateFormat.h"

#include "support/ChangeLog.h"
#include "support/MessagePump.h"
#include "support/StateBlocks.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace testing_support;
using AutomatableParamListener = juce::HvParamsManager::AutomatableParamListener;

namespace
{

juce::MemoryBlock fixture (const char* name)
{
    juce::MemoryBlock block;
    EXPECT_TRUE (juce::File (EQ713K_CORE_FIXTURES).getChildFile (name).loadFileAsData (block)) << name;
    return block;
}

std::vector<float> defaultParameters()
{
    return { ParamData::paramDefault.begin(), ParamData::paramDefault.end() };
}

void restoreText (juce::AudioProcessor& instance, const std::string& text)
{
    restore (instance, blockOf (text));
}

/** Runs the message thread until the hand-over objects have applied what they hold. */
void applyHandedOverSettings()
{
    pumpPendingMessages();
}

//==============================================================================
TEST (StateFormatTest, TheDefaultStateIsThePinnedBlockAndReplacesWhatTheBlockHeld)
{
    Eq713kPluginInstance instance;
    const auto expected = fixture ("default_state.bin");

    juce::MemoryBlock block;
    block.setSize (5000);
    block.fillWith (0xab);
    instance.getStateInformation (block);
    EXPECT_EQ (block, expected);

    juce::MemoryBlock programBlock;
    instance.getCurrentProgramStateInformation (programBlock);
    EXPECT_EQ (programBlock, expected);
}

TEST (StateFormatTest, ARoundTripRestoresParametersAtOnceAndFourSettingsOnceTheMessageThreadRan)
{
    Eq713kPluginInstance source;
    auto& sourceManager = source.getProductManager();

    // "DUAL MONO", so that the two channels hold different values.
    sourceManager.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        sourceManager.setParamValue (nullptr, id, (float) id / 19.0f);

    const std::vector<juce::var> sourceSettings { true, 4242, false, 1, true, true, true, true, true, true, true };
    for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
        sourceManager.setNonAutomatableParamValue (nullptr, id, sourceSettings[(size_t) id]);

    Eq713kPluginInstance target;
    const auto liveSettings = settingsOf (target);

    restore (target, stateOf (source));

    EXPECT_EQ (parametersOf (target), parametersOf (source));
    EXPECT_EQ (settingsOf (target), liveSettings) << "settings arrive through the message thread";

    applyHandedOverSettings();

    auto expectedSettings = liveSettings;
    for (auto id : { ParamData::CONNECTED_DEV_SN, ParamData::SHOULD_BE_CONNECTED, ParamData::SELECTED_CHANNEL, ParamData::DOUBLE_WINDOW })
        expectedSettings[(size_t) id] = sourceSettings[(size_t) id];

    EXPECT_EQ (settingsOf (target), expectedSettings);
    EXPECT_EQ (parametersOf (target), parametersOf (source));
}

TEST (StateFormatTest, ALinkedSessionWhoseChannelsDifferRestoresAsItWasSaved)
{
    // Host automation is not mirrored, so the channels of a session in "LINK" can differ.
    Eq713kPluginInstance source;
    auto& sourceManager = source.getProductManager();
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        sourceManager.setParamValue (sourceManager.getHostParameter (id), id, (float) id / 19.0f);
    sourceManager.setParamValue (sourceManager.getHostParameter (ParamData::HI_BANDWIDTH_1),
                                 ParamData::HI_BANDWIDTH_1, 2.0f / 3.0f);
    ASSERT_LT (sourceManager.getParamValue (ParamData::CHANNEL), 0.5f);

    for (const auto targetChannel : { 0.0f, 1.0f })
    {
        SCOPED_TRACE (targetChannel);
        Eq713kPluginInstance target;
        target.getProductManager().setParamValue (nullptr, ParamData::CHANNEL, targetChannel);
        testing_support::pumpPendingMessages();

        restore (target, stateOf (source));
        testing_support::pumpPendingMessages();

        EXPECT_EQ (parametersOf (target), parametersOf (source));
    }
}

TEST (StateFormatTest, ARestoreTellsTheListenersAsCompleteGesturesInIdOrderAndTheHostAsItsOwnState)
{
    Eq713kPluginInstance source;
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
        source.getProductManager().setParamValue (nullptr, id, 0.75f);

    // The host's restore, and the same block loaded as a preset, which is the user's edit.
    const struct { const char* what; bool asPreset; AutomatableParamListener* source; int hostGestures; } cases[] = {
        { "host's restore", false, &juce::HvDawParameter::hostRestoreSource(), 0 },
        { "preset", true, &StateFormat::presetSource(), ParamData::NUM_PARAMS },
    };

    for (const auto& c : cases)
    {
        Eq713kPluginInstance target;
        ChangeLog log (target.getProductManager(), {});
        for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
            log.listenTo (id);

        HostRecorder host;
        target.addListener (&host);

        const auto block = stateOf (source);
        if (c.asPreset)
            target.getProductManager().setStateInformation (block.getData(), (int) block.getSize());
        else
            restore (target, block);

        target.removeListener (&host);

        ASSERT_EQ (log.entries.size(), (size_t) ParamData::NUM_PARAMS * 3) << c.what;
        for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
        {
            const auto* entry = &log.entries[(size_t) id * 3];
            EXPECT_EQ (entry[0].kind, ChangeLog::Entry::begin);
            EXPECT_EQ (entry[1].kind, ChangeLog::Entry::value);
            EXPECT_EQ (entry[1].newValue, 0.75f);
            EXPECT_EQ (entry[2].kind, ChangeLog::Entry::end);

            for (int i = 0; i < 3; ++i)
            {
                EXPECT_EQ (entry[i].id, id) << c.what;
                EXPECT_EQ (entry[i].source, c.source) << c.what;
            }
        }

        // Either way the host hears each value once; only the preset is a gesture.
        EXPECT_EQ (host.count (HostEvent::gestureBegin), c.hostGestures) << c.what;
        EXPECT_EQ (host.count (HostEvent::gestureEnd), c.hostGestures) << c.what;
        EXPECT_EQ (host.count (HostEvent::value), ParamData::NUM_PARAMS) << c.what;
        for (const auto& e : host.events)
            EXPECT_TRUE (e.kind != HostEvent::value || e.newValue == 0.75f) << c.what;
    }
}

TEST (StateFormatTest, TheChildsPositionNamesTheParameterNotItsId)
{
    Eq713kPluginInstance instance;
    auto& manager = instance.getProductManager();
    manager.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.7f);

    std::vector<juce::ValueTree> children;
    children.push_back (node (StateFormat::paramType, { { "PARAM_ID", 5 }, { "VALUE", 1.0 } }));  // CHANNEL
    children.push_back (node ("OTHER", { { "VALUE", 0.0 } }));                                     // takes ENGAGE 1's place
    children.push_back (node (StateFormat::paramType, { { "PARAM_ID", 2 } }));                     // no value: the default
    for (int id = ParamData::LO_ATTEN_1; id < ParamData::NUM_PARAMS; ++id)
        children.push_back (node (StateFormat::paramType, { { "PARAM_ID", 0 }, { "VALUE", 0.25 } }));
    children.push_back (param (0.9));                                                              // position 19: nobody

    restore (instance, blockOf (stateTree (children)));

    auto expected = std::vector<float> ((size_t) ParamData::NUM_PARAMS, 0.25f);
    expected[ParamData::CHANNEL] = 1.0f;
    expected[ParamData::ENGAGE_1] = ParamData::paramDefault[ParamData::ENGAGE_1];
    expected[ParamData::LO_BOOST_1] = ParamData::paramDefault[ParamData::LO_BOOST_1];
    EXPECT_EQ (parametersOf (instance), expected);
}

TEST (StateFormatTest, ARestoredValueIsANumberInRangeBeforeItReachesTheStoreAndTheHost)
{
    constexpr auto nan = std::numeric_limits<double>::quiet_NaN();
    constexpr auto infinity = std::numeric_limits<double>::infinity();
    constexpr auto unchanged = 0.6f;

    const struct { const char* what; juce::var value; float expected; } cases[] = {
        { "in range", 0.25, 0.25f },
        { "above 1", 1.5, 1.0f },
        { "below 0", -0.5, 0.0f },
        { "huge", 1.0e300, 1.0f },
        { "not a number", nan, unchanged },
        { "infinite", infinity, unchanged },
        { "minus infinite", -infinity, unchanged },
        { "an int", 1, 1.0f },
        { "a 64-bit int", (juce::int64) -7, 0.0f },
        { "a bool", false, 0.0f },
        { "a number as text", "0.125", 0.125f },
        { "text with more after the number", "0.125x", unchanged },
        { "text", "loud", unchanged },
        { "void", juce::var(), unchanged },
        { "an array", juce::Array<juce::var> { 0.5 }, unchanged },
    };

    Eq713kPluginInstance instance;
    auto& manager = instance.getProductManager();
    auto* host = instance.getParameters()[ParamData::LO_BOOST_1];

    for (const auto& c : cases)
    {
        manager.setParamValue (nullptr, ParamData::LO_BOOST_1, unchanged);

        // Two children of another type take the places of CHANNEL and ENGAGE 1.
        restore (instance, blockOf (stateTree ({ node ("SKIP", {}), node ("SKIP", {}), param (c.value) })));

        EXPECT_EQ (manager.getParamValue (ParamData::LO_BOOST_1), c.expected) << c.what;
        EXPECT_EQ (host->getValue(), c.expected) << c.what;
    }
}

TEST (StateFormatTest, OnlyPresetZeroRestoresParametersWhileItsSettingsAreAppliedEitherWay)
{
    const struct { const char* what; juce::var number; bool restoresParameters; } cases[] = {
        { "zero", 0, true },
        { "missing", juce::var(), true },
        { "zero as text", "0", true },
        { "one", 1, false },
        { "one as text", "1", false },
        { "not a number", "first", false },
    };

    for (const auto& c : cases)
    {
        Eq713kPluginInstance instance;
        restore (instance, blockOf (stateTree ({ param (1.0) }, { setting (ParamData::DOUBLE_WINDOW, true) }, c.number)));
        applyHandedOverSettings();

        EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::CHANNEL), c.restoresParameters ? 1.0f : 0.0f) << c.what;
        EXPECT_EQ (instance.getProductManager().getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW), juce::var (true)) << c.what;
    }
}

TEST (StateFormatTest, SettingsAreRestoredOnlyForTheirIdsAndTypes)
{
    // The expected value of the one setting a case may change; nothing means every setting
    // keeps its initial value.
    const struct { const char* what; juce::var id; juce::var value; int changedId; juce::var expected; } cases[] = {
        { "connection state", 0, true, -1, {} },
        { "clip indicator", 5, true, -1, {} },
        { "id past the table", 11, true, -1, {} },
        { "negative id", -1, 7, -1, {} },
        { "double window", 10, true, ParamData::DOUBLE_WINDOW, true },
        { "double window from 1", 10, 1, ParamData::DOUBLE_WINDOW, true },
        { "double window from text", 10, "true", ParamData::DOUBLE_WINDOW, true },
        { "double window from 2", 10, 2, -1, {} },
        { "double window from a word", 10, "yes", -1, {} },
        { "id as text", "10", true, ParamData::DOUBLE_WINDOW, true },
        { "id as a bool", true, 77, -1, {} },
        { "serial number", 1, 77, ParamData::CONNECTED_DEV_SN, 77 },
        { "serial number as a 64-bit int", 1, (juce::int64) 77, ParamData::CONNECTED_DEV_SN, 77 },
        { "serial number as a whole double", 1, 77.0, ParamData::CONNECTED_DEV_SN, 77 },
        { "serial number as text", 1, " 77 ", ParamData::CONNECTED_DEV_SN, 77 },
        { "serial number with a fraction", 1, 77.5, -1, {} },
        { "serial number past the int range", 1, (juce::int64) 1 << 40, -1, {} },
        { "serial number as a bool", 1, true, -1, {} },
        { "serial number as a word", 1, "seventy", -1, {} },
        { "selected channel", 3, 1, ParamData::SELECTED_CHANNEL, 1 },
        { "selected channel as text", 3, "1", ParamData::SELECTED_CHANNEL, 1 },
        { "selected channel that does not exist", 3, 2, -1, {} },
        { "negative selected channel", 3, -1, -1, {} },
        { "should be connected", 2, false, ParamData::SHOULD_BE_CONNECTED, false },
        { "should be connected from 0", 2, 0, ParamData::SHOULD_BE_CONNECTED, false },
        { "should be connected from a binary", 2, juce::MemoryBlock (1), -1, {} },
    };

    for (const auto& c : cases)
    {
        Eq713kPluginInstance instance;
        auto expected = settingsOf (instance);
        if (c.changedId >= 0)
            expected[(size_t) c.changedId] = c.expected;

        restore (instance, blockOf (stateTree ({}, { setting (c.id, c.value) })));
        applyHandedOverSettings();

        const auto actual = settingsOf (instance);
        EXPECT_EQ (actual, expected) << c.what;

        // Stored with the setting's own type, so that listeners can rely on it.
        for (auto id : { ParamData::CONNECTED_DEV_SN, ParamData::SELECTED_CHANNEL })
            EXPECT_TRUE (actual[(size_t) id].isInt()) << c.what;
        for (auto id : { ParamData::SHOULD_BE_CONNECTED, ParamData::DOUBLE_WINDOW })
            EXPECT_TRUE (actual[(size_t) id].isBool()) << c.what;
    }
}

TEST (StateFormatTest, ASettingWithoutIdOrValueChangesNothingAndTheLastValueForAnIdWins)
{
    Eq713kPluginInstance instance;
    const auto initial = settingsOf (instance);

    restore (instance, blockOf (stateTree ({}, { node (StateFormat::settingType, { { "VALUE", 5 } }),
                                                 node (StateFormat::settingType, { { "PARAM_ID", 1 } }),
                                                 setting (3, 0), setting (3, 1), setting (3, 7) })));
    applyHandedOverSettings();

    auto expected = initial;
    expected[ParamData::SELECTED_CHANNEL] = 1;
    EXPECT_EQ (settingsOf (instance), expected);
}

TEST (StateFormatTest, ATreeOfAnotherTypeOrABlockOfNoFormRestoresNothing)
{
    const auto otherVersion = stateTree ({ param (1.0) }, { setting (ParamData::DOUBLE_WINDOW, true) });
    juce::ValueTree renamed ("HV_EQ713K_2_0_0");
    renamed.copyPropertiesAndChildrenFrom (otherVersion, nullptr);

    for (const auto& block : { blockOf (renamed), blockOf (std::string ("not a state")), blockOf (std::string ("\0\0\0\0", 4)) })
    {
        Eq713kPluginInstance instance;
        const auto initialSettings = settingsOf (instance);

        restore (instance, block);
        applyHandedOverSettings();

        EXPECT_EQ (parametersOf (instance), defaultParameters());
        EXPECT_EQ (settingsOf (instance), initialSettings);
    }
}

//==============================================================================
constexpr auto formA = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- written by an earlier version -->
<EQ713K active="2" devNo="5">
  <Presets>
    <0><parameters><1 value="0.1"/></parameters></0>
    <2><PARAMETERS><2 value="0.2"/><3 value='0.3'/></PARAMETERS></2>
    <1><parameters><4 value="0.9"/></parameters></1>
    <2b><parameters><4 value="4e-1"/></parameters></2b>
  </Presets>
</EQ713K>
)";

TEST (StateFormatTest, TheOlderFormWithPresetsAppliesEveryPresetOfTheActiveNumber)
{
    Eq713kPluginInstance instance;
    restoreText (instance, formA);

    auto expected = defaultParameters();
    expected[ParamData::LO_BOOST_1] = 0.2f;
    expected[ParamData::LO_ATTEN_1] = 0.3f;
    expected[ParamData::LO_CPS_1] = 0.4f;
    EXPECT_EQ (parametersOf (instance), expected);
}

TEST (StateFormatTest, TheOlderFormRemembersTheUnitOnlyWhileOneIsConnected)
{
    const struct { const char* what; bool connected; const char* root; juce::var serial; juce::var shouldConnect; } cases[] = {
        { "connected", true, R"(<EQ713K active="0" devNo="5">)", 5, true },
        { "not connected", false, R"(<EQ713K active="0" devNo="5">)", -1, false },
        { "connected, no unit", true, R"(<EQ713K active="0" devNo="-1">)", -1, false },
        { "connected, unit 0 by default", true, R"(<EQ713K Active="1" DEVNO="5">)", 0, true },
    };

    for (const auto& c : cases)
    {
        Eq713kPluginInstance instance;
        auto& manager = instance.getProductManager();
        manager.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, c.connected);
        manager.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);

        restoreText (instance, std::string (c.root) + R"(<presets><0><parameters><2 value="0.5"/></parameters></0></presets></EQ713K>)");
        EXPECT_EQ (manager.getParamValue (ParamData::LO_BOOST_1), 0.5f) << c.what;

        applyHandedOverSettings();
        EXPECT_EQ (manager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN), c.serial) << c.what;
        EXPECT_EQ (manager.getNonAutomatableParamValue (ParamData::SHOULD_BE_CONNECTED), c.shouldConnect) << c.what;
    }
}

TEST (StateFormatTest, TheOlderFormWithoutPresetsSkipsValuesOutOfRangeAndUnknownIds)
{
    Eq713kPluginInstance instance;
    auto& manager = instance.getProductManager();
    manager.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
    manager.setParamValue (nullptr, ParamData::HI_BOOST_1, 0.8f);

    restoreText (instance, R"(<state devNo="9"><Parameters>
                                <0 value="1"/><2 value="0.5"/><3 value="1.5"/><4 value="-0.1"/>
                                <5/><6 value="nan"/><7 value="1e999999999999"/><19 value="0.5"/><-1 value="0.5"/>
                              </Parameters></state>)");

    auto expected = defaultParameters();
    expected[ParamData::CHANNEL] = 1.0f;
    expected[ParamData::LO_BOOST_1] = 0.5f;
    expected[ParamData::HI_BOOST_1] = 0.0f;
    EXPECT_EQ (parametersOf (instance), expected);

    applyHandedOverSettings();
    EXPECT_EQ (manager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN), juce::var (-1));
}

TEST (StateFormatTest, TheOlderFormIsReadWrappedOrAsTextInAnyOfItsEncodings)
{
    const std::string text = R"(<state><parameters><2 value="0.5"/></parameters></state>)";

    const auto wrapped = [&text] (juce::uint32 length)
    {
        std::string block = "VC2!";
        for (int i = 0; i < 4; ++i)
            block += (char) ((length >> (8 * i)) & 0xff);
        return block + text + '\0';
    };

    juce::MemoryOutputStream utf16;
    utf16.writeByte ((char) 0xff);
    utf16.writeByte ((char) 0xfe);
    for (auto c : text)
        utf16.writeShort ((short) c);

    const struct { const char* what; juce::MemoryBlock block; bool restores; } cases[] = {
        { "wrapped", blockOf (wrapped ((juce::uint32) text.size())), true },
        { "wrapped, length past the end", blockOf (wrapped (100000)), true },
        { "wrapped, length cut short", blockOf (wrapped (10)), false },
        { "wrapped, length 0", blockOf (wrapped (0)), false },
        { "plain", blockOf (text), true },
        { "plain after a byte-order mark", blockOf ("\xef\xbb\xbf" + text), true },
        { "UTF-16", utf16.getMemoryBlock(), true },
    };

    for (const auto& c : cases)
    {
        Eq713kPluginInstance instance;
        restore (instance, c.block);
        EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_BOOST_1), c.restores ? 0.5f : 0.0f) << c.what;
    }
}

TEST (StateFormatTest, TheStateTreeNamesEveryParameterAndSetting)
{
    Eq713kPluginInstance instance;
    const auto tree = instance.getProductManager().getStateInformation();

    ASSERT_TRUE (tree.hasType (StateFormat::rootType));
    const auto preset = tree.getChildWithName (StateFormat::presetType);
    const auto settings = tree.getChildWithName (StateFormat::settingsType);
    ASSERT_EQ (preset.getNumChildren(), ParamData::NUM_PARAMS);
    ASSERT_EQ (settings.getNumChildren(), ParamData::NUM_NA_PARAMS);

    EXPECT_EQ (preset.getChild (13)[StateFormat::nameProperty], juce::var ("LO CPS 2"));
    EXPECT_EQ (preset.getChild (13)[StateFormat::idProperty], juce::var (13));
    EXPECT_TRUE (preset.getChild (13)[StateFormat::valueProperty].isDouble());
    EXPECT_EQ (settings.getChild (3)[StateFormat::nameProperty], juce::var ("SELECTED CHANNEL"));
    EXPECT_TRUE (settings.getChild (1)[StateFormat::valueProperty].isInt());
    EXPECT_TRUE (settings.getChild (10)[StateFormat::valueProperty].isBool());
}

} // namespace
