#include "editor/MenuBar.h"

#include "core/Eq713kPluginInstance.h"
#include "core/HvCommand.h"
#include "core/Ids.h"
#include "core/ParamData.h"
#include "link/MidiManager.h"
#include "widgets/HvDefaultLookAndFeel.h"

#include "support/MessagePump.h"
#include "support/MidiWorldFixture.h"
#include "support/PopupRecorder.h"
#include "support/Rendering.h"
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

// The in-process MIDI world exists only off macOS.
#if ! JUCE_MAC

using testing_support::coloursNear;
using testing_support::describe;
using testing_support::pixelAt;
using testing_support::pumpFor;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;
using testing_support::SimulatedUnit;

namespace
{

constexpr int patienceMs = 8000;

const juce::Colour ownText { 0xff0092ff }, otherText { 0xffb3b6bd };

SimulatedUnit::Options unitWith (int serial)
{
    SimulatedUnit::Options options;
    options.serialNumber = serial;
    return options;
}

std::unique_ptr<juce::OwnedArray<juce::MidiManager::ConnectionStatus>> connectionList()
{
    auto* manager = juce::MidiManager::getInstanceWithoutCreating();
    return manager != nullptr ? manager->getConnectionList() : std::make_unique<juce::OwnedArray<juce::MidiManager::ConnectionStatus>>();
}

int listedCount() { return connectionList()->size(); }

const juce::MidiDevice::Listener* holderOf (int serial)
{
    const auto list = connectionList();

    for (const auto* unit : *list)
        if (unit->serialNo == serial)
            return unit->owner;

    return nullptr;
}

bool isConnected (const Eq713kPluginInstance& instance)
{
    return instance.getProductManager().getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true);
}

juce::var setting (const Eq713kPluginInstance& instance, int id)
{
    return instance.getProductManager().getNonAutomatableParamValue (id);
}

/** One row of the device popup as the popup holds it. */
struct Row
{
    int itemId;
    juce::String title;
    MenuBar::DeviceComponent* component;
};

std::vector<Row> rowsOf (const MenuBar& bar)
{
    std::vector<Row> rows;

    if (bar.getDevicePopup() == nullptr)
        return rows;

    for (const auto& entry : testing_support::entriesOf (*bar.getDevicePopup()))
        rows.push_back ({ entry.id, entry.text, dynamic_cast<MenuBar::DeviceComponent*> (entry.custom) });

    return rows;
}

const Row* rowFor (const std::vector<Row>& rows, int serial)
{
    for (const auto& row : rows)
        if (row.itemId == serial + 1)
            return &row;

    return nullptr;
}

juce::Image renderRow (MenuBar::DeviceComponent& row)
{
    int width = 0, height = 0;
    row.getIdealSize (width, height);
    row.setSize (width, height);
    return testing_support::renderComponent (row);
}

/** The most opaque pixel of the area: inside a glyph's stem, or inside an icon. */
juce::Colour strongestPixel (const juce::Image& image, juce::Rectangle<int> area)
{
    juce::Colour strongest;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (pixelAt (image, x, y).getAlpha() > strongest.getAlpha())
                strongest = pixelAt (image, x, y);

    return strongest;
}

juce::Colour usbColour (MenuBar& bar)
{
    auto& usb = bar.getUsbButton();
    return strongestPixel (testing_support::renderComponent (usb), usb.getLocalBounds());
}

class DeviceSelectorTest : public testing_support::MidiWorldTest
{
protected:
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
};

//==============================================================================
TEST_F (DeviceSelectorTest, ListsEachUnitWithTheButtonAndColourOfItsHolder)
{
    SimulatedUnit freeUnit (unitWith (0)), ourUnit (unitWith (5)), otherUnit (unitWith (6));
    Eq713kPluginInstance instance, otherInstance;
    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 3; }, patienceMs));

    instance.connectWithDevice (5);
    otherInstance.connectWithDevice (6);
    ASSERT_TRUE (isConnected (instance) && isConnected (otherInstance));

    MenuBar bar (instance.getProductManager(), instance);
    testing_support::PopupRecorder popups (bar);
    bar.getUsbButton().triggerClick();
    pumpPendingMessages();

    ASSERT_FALSE (popups.shown.empty());
    EXPECT_EQ (popups.shown.back().popup, bar.getDevicePopup());
    EXPECT_EQ (popups.shown.back().target, &bar.getUsbButton());
    EXPECT_TRUE (popups.shown.back().onResult == nullptr);

    // In the manager's order, item id = serial number + 1.
    const auto rows = rowsOf (bar);
    const auto listed = connectionList();
    ASSERT_EQ (rows.size(), (size_t) listed->size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ (rows[i].itemId, (*listed)[(int) i]->serialNo + 1);

    const struct { int serial; int itemId; const char* text; const char* button; juce::Colour colour; } cases[] = {
        { 0, 1, "Halvorstine EQ864, serial No: 0", "CONNECT", otherText },
        { 5, 6, "Halvorstine EQ864, serial No: 5", "DISCONNECT", ownText },
        { 6, 7, "Halvorstine EQ864, serial No: 6", nullptr, otherText },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.serial);
        const auto* row = rowFor (rows, c.serial);
        ASSERT_NE (row, nullptr);
        ASSERT_NE (row->component, nullptr);
        EXPECT_EQ (row->title, c.text);

        const auto image = renderRow (*row->component);
        const auto text = strongestPixel (image, { 10, 0, 260, 25 });
        EXPECT_TRUE (coloursNear (text, c.colour, 1)) << describe (text);

        auto* button = row->component->getButton();
        if (c.button == nullptr)
        {
            EXPECT_EQ (button, nullptr);
            continue;
        }

        ASSERT_NE (button, nullptr);
        EXPECT_EQ (button->getButtonText(), c.button);
        EXPECT_TRUE (button->isVisible() && button->isEnabled());
        EXPECT_EQ (button->getBounds(), juce::Rectangle<int> (270, 2, 78, 21));
    }
}

TEST_F (DeviceSelectorTest, AHighlightedRowLiesOnAGradientInsideItsTwoPixelMargins)
{
    SimulatedUnit unit;
    Eq713kPluginInstance instance;
    instance.getProductManager().setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);
    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 1; }, patienceMs));

    MenuBar bar (instance.getProductManager(), instance);
    testing_support::PopupRecorder popups (bar);
    bar.openDeviceSelector();
    const auto rows = rowsOf (bar);
    ASSERT_EQ (rows.size(), 1u);
    auto& row = *rows[0].component;

    EXPECT_EQ (pixelAt (renderRow (row), 5, 12).getAlpha(), 0) << "plain rows have no background";

    row.setHighlighted (true);
    const auto image = renderRow (row);
    EXPECT_EQ (pixelAt (image, 5, 1).getAlpha(), 0);
    EXPECT_EQ (pixelAt (image, 5, 23).getAlpha(), 0);
    EXPECT_TRUE (coloursNear (pixelAt (image, 5, 2), juce::Colour (0xff414141).interpolatedWith (juce::Colour (0xff282828), 2.5f / 12.5f), 2))
        << describe (pixelAt (image, 5, 2));
    EXPECT_TRUE (coloursNear (pixelAt (image, 5, 12), juce::Colour (0xff282828), 2)) << describe (pixelAt (image, 5, 12));
}

TEST_F (DeviceSelectorTest, ConnectAndDisconnectSetWhetherToConnectAndTakeOrGiveBackTheUnit)
{
    SimulatedUnit unitA (unitWith (5)), unitB (unitWith (6));
    Eq713kPluginInstance instance;
    auto& params = instance.getProductManager();
    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);
    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 2; }, patienceMs));

    MenuBar bar (params, instance);
    testing_support::PopupRecorder popups (bar);

    // CONNECT: the row and its button go with the popup's items, inside the button's click.
    bar.openDeviceSelector();
    auto rows = rowsOf (bar);
    ASSERT_NE (rowFor (rows, 5), nullptr);
    juce::Component::SafePointer<juce::Component> connectRow (rowFor (rows, 5)->component);
    rowFor (rows, 5)->component->getButton()->triggerClick();
    pumpPendingMessages();

    EXPECT_EQ (connectRow.getComponent(), nullptr);
    EXPECT_EQ (bar.getDevicePopup()->getNumItems(), 0);
    EXPECT_EQ (setting (instance, ParamData::SHOULD_BE_CONNECTED), juce::var (true));
    EXPECT_EQ (setting (instance, ParamData::CONNECTED_DEV_SN), juce::var (5));
    EXPECT_TRUE (isConnected (instance));
    EXPECT_EQ (holderOf (5), instance.getBridge());
    EXPECT_EQ (holderOf (6), nullptr);
    ASSERT_TRUE (testing_support::waitFor ([&] { return unitA.receivedCount() > 1; })) << "the unit was never set up";
    EXPECT_EQ (unitB.receivedCount(), 1u) << "more than the serial-number query went to the other unit";

    // DISCONNECT on the instance's own row: given back, and the poll leaves it alone.
    bar.openDeviceSelector();
    rows = rowsOf (bar);
    ASSERT_NE (rowFor (rows, 5), nullptr);
    auto* disconnect = rowFor (rows, 5)->component->getButton();
    ASSERT_NE (disconnect, nullptr);
    ASSERT_EQ (disconnect->getButtonText(), "DISCONNECT");
    disconnect->triggerClick();
    pumpPendingMessages();

    EXPECT_EQ (bar.getDevicePopup()->getNumItems(), 0);
    EXPECT_EQ (setting (instance, ParamData::SHOULD_BE_CONNECTED), juce::var (false));
    EXPECT_EQ (instance.getBridge(), nullptr);
    EXPECT_EQ (holderOf (5), nullptr);
    ASSERT_TRUE (pumpUntil ([&] { return ! isConnected (instance); }, patienceMs));
    pumpFor (1500);
    EXPECT_FALSE (isConnected (instance));
    EXPECT_EQ (holderOf (5), nullptr);
}

TEST_F (DeviceSelectorTest, ARowClickedAfterTheMenuBarIsGoneDoesNothing)
{
    SimulatedUnit unit;
    Eq713kPluginInstance instance;
    auto& params = instance.getProductManager();
    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);
    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 1; }, patienceMs));

    auto bar = std::make_unique<MenuBar> (params, instance);
    testing_support::PopupRecorder popups (*bar);
    bar->openDeviceSelector();
    const auto rows = rowsOf (*bar);
    ASSERT_EQ (rows.size(), 1u);

    // As a closing popup window still holds its rows for a moment.
    juce::ReferenceCountedObjectPtr<juce::PopupMenu::CustomComponent> heldByAWindow (rows[0].component);
    auto* connect = rows[0].component->getButton();
    bar.reset();

    connect->triggerClick();
    pumpPendingMessages();

    EXPECT_EQ (setting (instance, ParamData::SHOULD_BE_CONNECTED), juce::var (false));
    EXPECT_FALSE (isConnected (instance));
    EXPECT_EQ (holderOf (5), nullptr);
}

TEST_F (DeviceSelectorTest, EachRequestOfThePollReopensTheSelectorWithTheUnitsListedThen)
{
    SimulatedUnit unitA (unitWith (5)), unitB (unitWith (6));
    Eq713kPluginInstance instance;
    MenuBar bar (instance.getProductManager(), instance);
    testing_support::PopupRecorder popups (bar);

    // Two free units and no remembered one: the poll asks for the selector every tick.
    ASSERT_TRUE (pumpUntil ([&] { return popups.shown.size() >= 1; }, patienceMs));
    std::vector<int> ids;
    for (const auto& row : rowsOf (bar))
        ids.push_back (row.itemId);
    EXPECT_EQ (ids, (std::vector<int> { 6, 7 }));

    SimulatedUnit unitC (unitWith (7));
    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 3; }, patienceMs));
    const auto shownBefore = popups.shown.size();
    ASSERT_TRUE (pumpUntil ([&] { return popups.shown.size() > shownBefore; }, patienceMs));

    EXPECT_EQ (popups.shown.back().popup, bar.getDevicePopup()) << "the same popup, refilled";
    ids.clear();
    for (const auto& row : rowsOf (bar))
        ids.push_back (row.itemId);
    EXPECT_EQ (ids, (std::vector<int> { 6, 7, 8 }));
    EXPECT_FALSE (isConnected (instance));
    EXPECT_EQ (instance.getPresetCommandsForTests().getParkedCommand(), nullptr) << "a request went past the menu bar";
}

TEST_F (DeviceSelectorTest, TheUsbButtonIsLitWhileConnectedBlinksWhileUnitsAreListedAndIsUnlitOtherwise)
{
    const juce::MainMenuColours palette;
    const auto lit = palette[6], unlit = palette[4];

    Eq713kPluginInstance instance;
    auto& params = instance.getProductManager();
    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);

    MenuBar bar (params, instance);
    bar.setSize (325, 25);
    auto& usb = bar.getUsbButton();

    // No unit.
    EXPECT_TRUE (coloursNear (usbColour (bar), unlit, 1)) << describe (usbColour (bar));
    EXPECT_FALSE (usb.isTimerRunning());

    // A unit listed, none connected: blinking, from unlit.
    auto unit = std::make_unique<SimulatedUnit>();
    ASSERT_TRUE (pumpUntil ([&] { return usb.isTimerRunning(); }, patienceMs));
    EXPECT_EQ (usb.getTimerInterval(), 500);
    EXPECT_TRUE (coloursNear (usbColour (bar), unlit, 1)) << describe (usbColour (bar));

    {
        MenuBar later (params, instance);
        later.setSize (325, 25);
        EXPECT_TRUE (later.getUsbButton().isTimerRunning()) << "a new bar does not know of the listed unit";
    }

    // Connected: lit.
    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, true);
    ASSERT_TRUE (pumpUntil ([&] { return isConnected (instance); }, patienceMs));
    EXPECT_FALSE (usb.isTimerRunning());
    EXPECT_TRUE (coloursNear (usbColour (bar), lit, 1)) << describe (usbColour (bar));

    {
        MenuBar later (params, instance);
        later.setSize (325, 25);
        EXPECT_TRUE (coloursNear (usbColour (later), lit, 1)) << "a new bar does not show the connection";
    }

    // Unplugged: the connection is lost and nothing is listed.
    unit.reset();
    ASSERT_TRUE (pumpUntil ([&] { return ! isConnected (instance) && listedCount() == 0; }, patienceMs));
    pumpPendingMessages();
    EXPECT_FALSE (usb.isTimerRunning());
    EXPECT_TRUE (coloursNear (usbColour (bar), unlit, 1)) << describe (usbColour (bar));
}

TEST_F (DeviceSelectorTest, TheBarHearsTheListWhicheverOfTheInstanceAndTheEditorComesFirst)
{
    enum class Order { builtHereThenEditor, builtOnAHostThreadAndStartedThenEditor, builtOnAHostThreadEditorBeforeTheStart };

    const struct { const char* name; Order order; int serial; } cases[] {
        { "instance built on the message thread, then the editor", Order::builtHereThenEditor, 71 },
        { "instance built on a host thread and started, then the editor", Order::builtOnAHostThreadAndStartedThenEditor, 72 },
        { "instance built on a host thread, the editor before the start ran", Order::builtOnAHostThreadEditorBeforeTheStart, 73 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        ASSERT_EQ (juce::MidiManager::getInstanceWithoutCreating(), nullptr);

        std::unique_ptr<SimulatedUnit> unit;
        std::unique_ptr<Eq713kPluginInstance> instance;

        if (c.order == Order::builtHereThenEditor)
            instance = std::make_unique<Eq713kPluginInstance>();
        else
            std::thread ([&instance] { instance = std::make_unique<Eq713kPluginInstance>(); }).join();

        if (c.order == Order::builtOnAHostThreadAndStartedThenEditor)
            pumpPendingMessages();

        EXPECT_EQ (juce::MidiManager::getInstanceWithoutCreating() == nullptr,
                   c.order == Order::builtOnAHostThreadEditorBeforeTheStart);

        auto& params = instance->getProductManager();
        params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);

        auto bar = std::make_unique<MenuBar> (params, *instance);
        bar->setSize (325, 25);
        bar->showPopup = nullptr;
        pumpPendingMessages();

        unit = std::make_unique<SimulatedUnit> (unitWith (c.serial));
        EXPECT_TRUE (pumpUntil ([&] { return bar->getUsbButton().isTimerRunning(); }, patienceMs));

        bar->openDeviceSelector();
        EXPECT_NE (rowFor (rowsOf (*bar), c.serial), nullptr);

        bar.reset();
        instance.reset();
        ASSERT_TRUE (pumpUntil ([] { return juce::MidiManager::getInstanceWithoutCreating() == nullptr; }, patienceMs));
        unit.reset();
        pumpPendingMessages();
    }
}

} // namespace

#endif
