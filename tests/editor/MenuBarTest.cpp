#include "editor/MenuBar.h"

#include "core/Eq713kPluginInstance.h"
#include "core/Ids.h"
#include "core/ParamData.h"
#include "widgets/HvDefaultLookAndFeel.h"

#include "support/MessagePump.h"
#include "support/PopupRecorder.h"
#include "support/Rendering.h"
#include "support/ScratchFolder.h"
#include "support/StateBlocks.h"

#if ! JUCE_MAC
 #include "support/MidiWorldFixture.h"
#endif

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using testing_support::coloursNear;
using testing_support::describe;
using testing_support::entriesOf;
using testing_support::pixelAt;
using testing_support::pumpPendingMessages;

namespace
{

#if JUCE_MAC
using PluginTest = ::testing::Test;
#else
using PluginTest = testing_support::MidiWorldTest; // the instance's MIDI manager lives there
#endif

/** An instance whose preset commands take the file the test chose instead of asking the user
    in a file dialog, and which notes the title of every dialog that would have opened. */
class InstanceWithChosenFiles : public Eq713kPluginInstance
{
public:
    InstanceWithChosenFiles()
    {
        getPresetCommandsForTests().chooseFile = [this] (const juce::String& title, const juce::String&, auto answer)
        {
            dialogTitles.push_back (title);
            answer (chosenFile);
        };
    }

    juce::File chosenFile;
    std::vector<juce::String> dialogTitles;
};

class MenuBarTest : public PluginTest
{
protected:
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
    InstanceWithChosenFiles instance;
    Eq713kParamsManager& params = instance.getProductManager();
    std::unique_ptr<MenuBar> bar = std::make_unique<MenuBar> (params, instance);
    testing_support::PopupRecorder popups { *bar };
};

using Strings = std::vector<juce::String>;

//==============================================================================
TEST_F (MenuBarTest, TheMenuButtonOpensThePresetCommandsAndTheDisabledVersionLine)
{
    for (int opening = 0; opening < 2; ++opening)
    {
        bar->getMenuButton().triggerClick();
        pumpPendingMessages();

        ASSERT_EQ (popups.shown.size(), (size_t) opening + 1);
        const auto& shown = popups.shown.back();
        EXPECT_EQ (shown.popup, bar->getMenu());
        EXPECT_EQ (shown.target, &bar->getMenuButton());
        EXPECT_TRUE (shown.onResult != nullptr);

        // Built afresh at each opening.
        const auto entries = entriesOf (*bar->getMenu());
        ASSERT_EQ (entries.size(), 4u);

        const struct { int id; const char* text; bool enabled; bool separator; } expected[] = {
            { 100, "Save preset", true, false },
            { 101, "Load preset", true, false },
            { 0, "", true, true },
            { 1, "Plugin version: 3.0.0", false, false },
        };

        for (size_t i = 0; i < entries.size(); ++i)
        {
            SCOPED_TRACE (i);
            EXPECT_EQ (entries[i].separator, expected[i].separator);
            if (expected[i].separator)
                continue;

            EXPECT_EQ (entries[i].id, expected[i].id);
            EXPECT_EQ (entries[i].text, expected[i].text);
            EXPECT_EQ (entries[i].enabled, expected[i].enabled);
        }
    }
}

TEST_F (MenuBarTest, SaveAndLoadGoThroughTheCommandQueueToThePresetFiles)
{
    const testing_support::ScratchFolder scratch;
    bar->openMenu();
    ASSERT_EQ (popups.shown.size(), 1u);
    const auto choose = popups.shown[0].onResult;

    params.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.5f);
    instance.chosenFile = scratch.file ("mine");
    choose (MenuBar::savePresetItemId);
    EXPECT_TRUE (instance.dialogTitles.empty()) << "delivered before the queue ran";
    pumpPendingMessages();

    EXPECT_EQ (instance.dialogTitles, Strings { "Save preset..." });
    const auto saved = scratch.file ("mine.hvrp");
    EXPECT_EQ (testing_support::stateOf (instance), [&] { juce::MemoryBlock b; saved.loadFileAsData (b); return b; }());

    params.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.1f);
    instance.chosenFile = saved;
    choose (MenuBar::loadPresetItemId);
    pumpPendingMessages();

    EXPECT_EQ (instance.dialogTitles, (Strings { "Save preset...", "Load preset..." }));
    EXPECT_EQ (params.getParamValue (ParamData::LO_BOOST_1), 0.5f);

    // Dismissing the menu or choosing the version line posts nothing.
    for (const int result : { 0, (int) MenuBar::versionItemId })
        choose (result);

    pumpPendingMessages();
    EXPECT_EQ (instance.dialogTitles.size(), 2u);
}

TEST_F (MenuBarTest, AMenuResultArrivingAfterTheMenuBarIsGoneDoesNothing)
{
    bar->openMenu();
    ASSERT_EQ (popups.shown.size(), 1u);
    const auto choose = popups.shown[0].onResult;

    bar.reset();
    choose (MenuBar::savePresetItemId);
    choose (MenuBar::loadPresetItemId);
    pumpPendingMessages();

    EXPECT_TRUE (instance.dialogTitles.empty());
}

TEST_F (MenuBarTest, TakesOnlyTheDeviceSelectorCommand)
{
    const struct { juce::Identifier id; bool taken; } cases[] = {
        { Ids::hvEq713k::showDeviceSelector, true },
        { Ids::hvEq713k::savePreset, false },
        { Ids::hvEq713k::loadPreset, false },
        { "somethingElse", false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id.toString());
        juce::HvCommand command (c.id);
        const auto shownBefore = popups.shown.size();

        EXPECT_EQ (bar->commandListenerCallback (&command), c.taken);
        EXPECT_EQ (popups.shown.size(), shownBefore + (c.taken ? 1u : 0u));
    }

    // Through the queue: the selector opens and the rest go on to the instance.
    popups.shown.clear();
    instance.chosenFile = juce::File(); // a cancelled dialog
    for (const auto& c : cases)
        instance.sendCommand (std::make_unique<juce::HvCommand> (c.id));

    pumpPendingMessages();

    ASSERT_EQ (popups.shown.size(), 1u);
    EXPECT_EQ (popups.shown[0].popup, bar->getDevicePopup());
    EXPECT_EQ (popups.shown[0].target, &bar->getUsbButton());
    EXPECT_TRUE (popups.shown[0].onResult == nullptr) << "the selector has no result callback";
    EXPECT_EQ (instance.dialogTitles, (Strings { "Save preset...", "Load preset..." }));
    EXPECT_EQ (instance.getPresetCommandsForTests().getParkedCommand(), nullptr);
}

TEST_F (MenuBarTest, WithoutAScreenItsOwnPopupsShowNothing)
{
    if (! juce::Desktop::getInstance().getDisplays().displays.isEmpty())
        GTEST_SKIP() << "a screen is attached";

    MenuBar plain (params, instance);
    plain.setSize (325, 25);
    plain.openMenu();
    plain.openDeviceSelector();
    pumpPendingMessages();

    EXPECT_NE (plain.getMenu(), nullptr);
    EXPECT_NE (plain.getDevicePopup(), nullptr);
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
}

TEST_F (MenuBarTest, LaysOutItsButtonsFromItsHeight)
{
    const struct { int width; int usbX; } cases[] = { { 325, 295 }, { 650, 620 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.width);
        bar->setSize (c.width, 25);

        EXPECT_EQ (bar->getMenuButton().getBounds(), juce::Rectangle<int> (0, 0, 25, 25));
        const auto menuIcon = bar->getMenuButton().getShape().getBounds();
        EXPECT_NEAR (menuIcon.getHeight(), 17.5f, 0.01f);
        EXPECT_NEAR (menuIcon.getCentreX(), 12.5f, 0.01f);
        EXPECT_NEAR (menuIcon.getCentreY(), 12.5f, 0.01f);

        EXPECT_EQ (bar->getUsbButton().getBounds(), juce::Rectangle<int> (c.usbX, 0, 25, 25));
        const auto usbIcon = bar->getUsbButton().getShape().getBounds();
        EXPECT_NEAR (juce::jmax (usbIcon.getWidth(), usbIcon.getHeight()), 25.0f, 0.01f);
        EXPECT_NEAR (usbIcon.getCentreX(), 12.5f, 0.01f);
        EXPECT_NEAR (usbIcon.getCentreY(), 12.5f, 0.01f);
    }
}

TEST_F (MenuBarTest, PaintsItsGradientAndButtonsInTheColoursOfItsLookAndFeel)
{
    juce::HvLookAndFeel custom;
    custom.mainMenuColours[0] = juce::Colour (0xff800000);
    custom.mainMenuColours[1] = juce::Colour (0xff000080);
    custom.mainMenuColours[4] = juce::Colour (0xff00ff00);
    juce::LookAndFeel_V4 foreign;

    const juce::MainMenuColours defaults;
    const struct { const char* name; juce::LookAndFeel* lookAndFeel; juce::MainMenuColours colours; } cases[] = {
        { "palette of its HvLookAndFeel", &custom, custom.mainMenuColours },
        { "default palette under another look-and-feel", &foreign, defaults },
    };

    bar->setSize (325, 25);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        bar->setLookAndFeel (c.lookAndFeel);
        const auto image = testing_support::renderComponent (*bar);

        const auto top = pixelAt (image, 150, 0);
        EXPECT_TRUE (coloursNear (top, c.colours[0].interpolatedWith (c.colours[1], 0.5f / 25.0f), 2)) << describe (top);
        const auto middle = pixelAt (image, 150, 12);
        EXPECT_TRUE (coloursNear (middle, c.colours[0].interpolatedWith (c.colours[1], 12.5f / 25.0f), 2)) << describe (middle);

        // The black line along the bottom edge covers half of the last row.
        const auto lastRow = pixelAt (image, 150, 24);
        const auto underLine = c.colours[0].interpolatedWith (c.colours[1], 24.5f / 25.0f);
        EXPECT_TRUE (coloursNear (lastRow, underLine.interpolatedWith (juce::Colours::black, 0.5f), 2)) << describe (lastRow);

        // The middle of the menu icon (three bars) and the unlit USB button, in the normal colour.
        const auto menuIconCentre = bar->getMenuButton().getShape().getBounds().getCentre().toInt();
        EXPECT_TRUE (coloursNear (pixelAt (image, menuIconCentre.x, menuIconCentre.y), c.colours[4], 2))
            << describe (pixelAt (image, menuIconCentre.x, menuIconCentre.y));
    }

    bar->setLookAndFeel (nullptr);
}

} // namespace
