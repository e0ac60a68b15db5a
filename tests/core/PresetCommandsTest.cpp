#include "core/Eq713kPluginInstance.h"
#include "core/Ids.h"
#include "core/PresetCommands.h"
#include "core/StateBlockCheck.h"

#include "support/MessagePump.h"
#include "support/ScratchFolder.h"
#include "support/StateBlocks.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace testing_support;

namespace
{

/** An instance whose preset commands answer and report to the test instead of opening
    a window. */
struct PresetsUnderTest
{
    PresetsUnderTest()
    {
        commands.askToReplace = [this] (const juce::File& existing, std::function<void (bool)> answer)
        {
            asked.push_back (existing);
            answer (replace);
        };
        commands.reportSaveFailure = [this] (const juce::File& target) { failures.push_back (target); };
    }

    Eq713kPluginInstance instance;
    PresetCommands& commands = instance.getPresetCommandsForTests();
    bool replace = false;
    std::vector<juce::File> asked;
    std::vector<juce::File> failures;
};

juce::MemoryBlock contentsOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

TEST (PresetCommandsTest, SavingWritesTheStateUnderThePresetName)
{
    const ScratchFolder scratch;
    PresetsUnderTest presets;
    presets.instance.getProductManager().setParamValue (nullptr, ParamData::LO_BOOST_1, 0.5f);

    const struct { const char* chosen; const char* saved; } cases[] = {
        { "plain", "plain.hvrp" },
        { "bank.hvrb", "bank.hvrp" },
        { "notes.txt", "notes.hvrp" },
    };

    for (const auto& c : cases)
    {
        presets.commands.saveChosenFile (scratch.file (c.chosen));
        EXPECT_EQ (contentsOf (scratch.file (c.saved)), stateOf (presets.instance)) << c.chosen;
        EXPECT_FALSE (scratch.file (c.chosen).existsAsFile() && juce::String (c.chosen) != c.saved) << c.chosen;
    }

    EXPECT_TRUE (presets.asked.empty());
    EXPECT_TRUE (presets.failures.empty());
}

TEST (PresetCommandsTest, AnExistingFileUnderTheChangedNameIsReplacedOnlyWhenTheUserAgrees)
{
    const ScratchFolder scratch;
    PresetsUnderTest presets;
    const auto existing = scratch.file ("x.hvrp");
    ASSERT_TRUE (existing.replaceWithText ("old"));

    presets.replace = false;
    presets.commands.saveChosenFile (scratch.file ("x.hvrb"));
    EXPECT_EQ (presets.asked, std::vector<juce::File> { existing });
    EXPECT_EQ (existing.loadFileAsString(), "old");

    presets.replace = true;
    presets.commands.saveChosenFile (scratch.file ("x"));
    EXPECT_EQ (presets.asked.size(), 2u);
    EXPECT_EQ (contentsOf (existing), stateOf (presets.instance));

    // The dialog asked already about the very name it returned.
    ASSERT_TRUE (existing.replaceWithText ("old"));
    presets.replace = false;
    presets.commands.saveChosenFile (existing);
    EXPECT_EQ (presets.asked.size(), 2u);
    EXPECT_EQ (contentsOf (existing), stateOf (presets.instance));
}

TEST (PresetCommandsTest, ACancelledSaveWritesNothingAndAFailedOneKeepsTheOldFileAndIsReported)
{
    const ScratchFolder scratch;
    PresetsUnderTest presets;

    presets.commands.saveChosenFile (juce::File());
    EXPECT_EQ (scratch.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);

    // No temporary file can be made beside a name this long.
    const auto longest = scratch.file (juce::String::repeatedString ("p", 250) + ".hvrp");
    ASSERT_TRUE (longest.create() && longest.appendText ("old"));

    presets.commands.saveChosenFile (longest);
    EXPECT_EQ (longest.loadFileAsString(), "old");
    EXPECT_EQ (presets.failures, std::vector<juce::File> { longest });
}

TEST (PresetCommandsTest, LoadingRestoresFromAnyPresetFileParametersAtOnceSettingsAfter)
{
    const ScratchFolder scratch;

    Eq713kPluginInstance source;
    source.getProductManager().setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    source.getProductManager().setParamValue (nullptr, ParamData::HI_BOOST_2, 0.5f);
    source.getProductManager().setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 1);

    const auto state = stateOf (source);
    ASSERT_TRUE (scratch.file ("saved.hvrb").replaceWithData (state.getData(), state.getSize()));
    ASSERT_TRUE (scratch.file ("older.hvrp").replaceWithText (R"(<s><parameters><2 value="0.25"/></parameters></s>)"));

    PresetsUnderTest presets;
    auto& manager = presets.instance.getProductManager();

    presets.commands.loadChosenFile (scratch.file ("saved.hvrb"));
    EXPECT_EQ (parametersOf (presets.instance), parametersOf (source));
    EXPECT_EQ (manager.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL), juce::var (0));
    EXPECT_TRUE (pumpUntil ([&] { return manager.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL) == juce::var (1); }));

    presets.commands.loadChosenFile (scratch.file ("older.hvrp"));
    EXPECT_EQ (manager.getParamValue (ParamData::LO_BOOST_1), 0.25f);
}

TEST (PresetCommandsTest, ACancelledMissingOrOversizedLoadChangesNothing)
{
    const ScratchFolder scratch;
    const auto oversized = scratch.file ("huge.hvrp");
    const auto text = std::string (R"(<s><parameters><2 value="0.25"/></parameters></s>)");
    ASSERT_TRUE (oversized.replaceWithText (text + std::string (StateBlockCheck::maxBlockBytes, ' ')));

    PresetsUnderTest presets;
    const auto initialState = stateOf (presets.instance);

    for (const auto& chosen : { juce::File(), scratch.file ("missing.hvrp"), oversized, scratch.folder })
    {
        presets.commands.loadChosenFile (chosen);
        pumpPendingMessages();
        EXPECT_EQ (stateOf (presets.instance), initialState) << chosen.getFullPathName();
    }
}

TEST (PresetCommandsTest, TheLatestDeviceSelectorCommandThatNobodyTookIsKept)
{
    Eq713kPluginInstance instance;
    EXPECT_EQ (instance.getPresetCommandsForTests().getParkedCommand(), nullptr);

    instance.sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::showDeviceSelector));
    auto second = std::make_unique<juce::HvCommand> (Ids::hvEq713k::showDeviceSelector);
    const auto* secondCommand = second.get();
    instance.sendCommand (std::move (second));
    instance.sendCommand (std::make_unique<juce::HvCommand> (juce::Identifier ("somethingElse")));

    pumpPendingMessages();
    EXPECT_EQ (instance.getPresetCommandsForTests().getParkedCommand(), secondCommand);
}

} // namespace
