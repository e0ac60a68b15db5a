#include "core/CommandListener.h"
#include "core/Eq713kPluginInstance.h"
#include "core/HvCommand.h"
#include "core/Ids.h"
#include "core/ParamData.h"
#include "link/Eq713kMidiBridge.h"
#include "core/ProductTable.h"
#include "link/MidiManager.h"
#include "support/MessagePump.h"
#include "support/MidiWorldFixture.h"
#include "support/SimulatedUnit.h"
#include "support/StateBlocks.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// The in-process MIDI world exists only off macOS.
#if ! JUCE_MAC

using testing_support::HostEvent;
using testing_support::SimulatedUnit;
using testing_support::pumpFor;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;

namespace
{

using Bytes = std::vector<uint8_t>;
using Messages = std::vector<Bytes>;

// The poll ticks every 1000 ms and the manager waits 500 ms for an answer; the framework's
// timers may fire up to 100 ms early.
constexpr double earliestTickMs = 880.0;
constexpr double earliestHalfSecondMs = 380.0;
constexpr int patienceMs = 8000;

constexpr int serialA = 5;
constexpr int serialB = 6;

const Bytes serialNumberQuery { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };

/** A value message laid out by hand, so that the product's own builder is not what is checked. */
Bytes valueMessage (int serial, int number, int value, bool otherChannel)
{
    return { 0xf0, 0x00, 0x12, 0x34, static_cast<uint8_t> (serial), static_cast<uint8_t> (otherChannel ? 0x08 : 0x01),
             static_cast<uint8_t> (number), static_cast<uint8_t> (value & 0x7f), static_cast<uint8_t> ((value & 0xff) >> 7),
             0xf7 };
}

double now() { return juce::Time::getMillisecondCounterHiRes(); }

SimulatedUnit::Options unitWith (int serial)
{
    SimulatedUnit::Options options;
    options.serialNumber = serial;
    return options;
}

//==============================================================================
/** Every left/right control: where it goes on the unit, and a setting of each channel with
    the value the unit is sent for it. */
struct Control
{
    const char* name;
    int firstId;
    int number;
    int converter;
    float first;
    int firstSent;
    float second;
    int secondSent;
};

const Control controls[] {
    { "ENGAGE", ParamData::ENGAGE_1, 15, ProductTable::engageConverter, 1.0f, 64, 0.0f, 0 },
    { "LO BOOST", ParamData::LO_BOOST_1, 4, ProductTable::gainConverter, 0.5f, 125, 0.2f, 50 },
    { "LO ATTEN", ParamData::LO_ATTEN_1, 9, ProductTable::gainConverter, 0.1f, 25, 0.3f, 75 },
    { "HI BOOST", ParamData::HI_BOOST_1, 5, ProductTable::gainConverter, 0.4f, 100, 0.6f, 150 },
    { "HI ATTEN", ParamData::HI_ATTEN_1, 10, ProductTable::gainConverter, 0.8f, 200, 1.0f, 250 },
    { "HI BANDWIDTH", ParamData::HI_BANDWIDTH_1, 16, ProductTable::hiBandwidthConverter, 2.0f / 3.0f, 172, 1.0f, 255 },
    { "HI KCS BOOST", ParamData::HI_KCS_BOOST_1, 12, ProductTable::hiKcsBoostConverter, 1.0f / 6.0f, 32, 5.0f / 6.0f, 2 },
};

/** LO CPS (low bits) and HI KCS ATTEN (bits 4..6) of one channel share hardware number 13. */
struct Switches
{
    float loCps;
    float hiKcsAtten;
    int sent;
};

const Switches switchSettings[2] { { 0.0f, 0.5f, 8 | 32 }, { 1.0f, 1.0f, 1 | 16 } };

int sentFor (const Eq713kParamsManager& params, int id, int converter)
{
    return Eq713kMidiBridge::getLambdaMidiFloatToInt (converter) (params.getParamValue (id));
}

int selectionFor (const Eq713kParamsManager& params)
{
    if (! (params.getParamValue (ParamData::CHANNEL) > 0.5f))
        return SimulatedUnit::linked;

    return static_cast<int> (params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)) == 0 ? SimulatedUnit::channel1
                                                                                                     : SimulatedUnit::channel2;
}

/** Where the unit's state is not what the plug-in's parameters make it; empty when it is. */
std::string differences (const SimulatedUnit& unit, const Eq713kParamsManager& params)
{
    std::string result;
    const auto compare = [&result] (const std::string& what, int onUnit, int expected)
    {
        if (onUnit != expected)
            result += what + ": unit " + std::to_string (onUnit) + ", plug-in " + std::to_string (expected) + "; ";
    };

    compare ("selection", unit.channelSelection(), selectionFor (params));

    for (int channel = 1; channel <= 2; ++channel)
    {
        const auto offset = (channel - 1) * ParamData::channelStride;
        const auto suffix = " " + std::to_string (channel);

        for (const auto& c : controls)
            compare (c.name + suffix, unit.value (channel, c.number), sentFor (params, c.firstId + offset, c.converter));

        compare ("LO CPS / HI KCS ATTEN" + suffix, unit.switchByte (channel),
                 sentFor (params, ParamData::LO_CPS_1 + offset, ProductTable::loCpsConverter)
                     | sentFor (params, ParamData::HI_KCS_ATTEN_1 + offset, ProductTable::hiKcsAttenConverter));
    }

    return result;
}

/** A saved session: the channel mode, the control values above on the two channels (or the
    first channel's on both) and the given settings. */
juce::MemoryBlock session (float channelMode, bool sameOnBothChannels, std::vector<juce::ValueTree> settings)
{
    std::vector<float> values ((size_t) ParamData::NUM_PARAMS, 0.0f);
    values[(size_t) ParamData::CHANNEL] = channelMode;

    for (int channel = 0; channel < 2; ++channel)
    {
        const auto offset = channel * ParamData::channelStride;
        const auto second = channel == 1 && ! sameOnBothChannels;

        for (const auto& c : controls)
            values[(size_t) (c.firstId + offset)] = second ? c.second : c.first;

        values[(size_t) (ParamData::LO_CPS_1 + offset)] = switchSettings[second ? 1 : 0].loCps;
        values[(size_t) (ParamData::HI_KCS_ATTEN_1 + offset)] = switchSettings[second ? 1 : 0].hiKcsAtten;
    }

    std::vector<juce::ValueTree> params;
    for (auto v : values)
        params.push_back (testing_support::param ((double) v));

    return testing_support::blockOf (testing_support::stateTree (params, std::move (settings)));
}

juce::MemoryBlock settingsOnly (std::vector<juce::ValueTree> settings)
{
    return testing_support::blockOf (testing_support::stateTree ({}, std::move (settings)));
}

/** What follows the channel selection once the set-up window is over, for the selection the
    objects were given (0 linked, 1 or 2 the channel selected on the unit). */
Messages recallOf (int serial, int selected, bool sameOnBothChannels)
{
    const auto leftToOther = selected == 2;
    const auto rightToOther = selected == 1;
    Messages messages;

    for (const auto& c : controls)
    {
        messages.push_back (valueMessage (serial, c.number, c.firstSent, leftToOther));

        if (selected != 0)
            messages.push_back (valueMessage (serial, c.number, sameOnBothChannels ? c.firstSent : c.secondSent, rightToOther));
    }

    // Each control of the pair sends the byte that carries both.
    const auto rightByte = switchSettings[sameOnBothChannels ? 0 : 1].sent;
    messages.insert (messages.end(), 2, valueMessage (serial, 13, switchSettings[0].sent, leftToOther));

    if (selected != 0)
        messages.insert (messages.end(), 2, valueMessage (serial, 13, rightByte, rightToOther));

    return messages;
}

//==============================================================================
/** Takes the device selector requests, as an open editor's menu bar would. */
class SelectorRequests : public juce::CommandListener
{
public:
    bool commandListenerCallback (juce::HvCommand* command) override
    {
        if (command->id != Ids::hvEq713k::showDeviceSelector)
            return false;

        times.push_back (now());
        return true;
    }

    std::vector<double> times;
};

/** An instance as a host holds it, watched as the host and an open editor would. */
struct HostedPlugin
{
    HostedPlugin()
    {
        instance.addListener (&host);
        instance.addCommandListener (&selectorRequests);
    }

    ~HostedPlugin()
    {
        instance.removeCommandListener (&selectorRequests);
        instance.removeListener (&host);
    }

    bool isConnected() const { return params.getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true); }
    int rememberedSerial() const { return static_cast<int> (params.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN)); }

    const double builtAtMs = now();
    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    testing_support::HostRecorder host;
    SelectorRequests selectorRequests;

    JUCE_DECLARE_NON_COPYABLE (HostedPlugin)
};

/** Changes a parameter as an editor control does: a gesture, with the control as the source. */
struct Editor : juce::HvParamsManager::AutomatableParamListener
{
    void change (juce::HvParamsManager& params, int id, float value)
    {
        params.beginParamGesture (this, id);
        params.setParamValue (this, id, value);
        params.endParamGesture (this, id);
    }
};

/** Everything the unit was sent, once it has all arrived. */
Messages sentTo (const SimulatedUnit& unit)
{
    EXPECT_TRUE (VirtualMidiWorld::waitUntilIdle());
    return unit.receivedBytes();
}

Messages takeSent (SimulatedUnit& unit)
{
    auto sent = sentTo (unit);
    unit.clearReceived();
    return sent;
}

std::unique_ptr<juce::OwnedArray<juce::MidiManager::ConnectionStatus>> connectionList()
{
    auto* manager = juce::MidiManager::getInstanceWithoutCreating();
    return manager != nullptr ? manager->getConnectionList() : std::make_unique<juce::OwnedArray<juce::MidiManager::ConnectionStatus>>();
}

int listedCount() { return connectionList()->size(); }

const juce::MidiManager::ConnectionStatus* findListed (const juce::OwnedArray<juce::MidiManager::ConnectionStatus>& list, int serial)
{
    for (auto* entry : list)
        if (entry->serialNo == serial)
            return entry;

    return nullptr;
}

/** The unit's entry in the manager's list, in words. */
std::string listing (int serial, const juce::MidiDevice::Listener* expectedHolder = nullptr)
{
    const auto list = connectionList();
    const auto* entry = findListed (*list, serial);

    if (entry == nullptr)
        return "not listed";

    if (entry->owner == nullptr && entry->status == juce::MidiManager::ConnectionStatus::available)
        return "free";

    if (entry->status != juce::MidiManager::ConnectionStatus::inUse)
        return "status does not match the holder";

    return entry->owner == expectedHolder ? "held by the expected holder" : "held by another";
}

/** Runs the message thread until the instance holds the unit and the unit holds every value. */
::testing::AssertionResult connectsAndRecalls (const HostedPlugin& plugin, const SimulatedUnit& unit)
{
    const auto done = pumpUntil ([&] { return plugin.isConnected() && differences (unit, plugin.params).empty(); }, patienceMs);

    // The last messages of the recall may still be on their way.
    if (! VirtualMidiWorld::waitUntilIdle())
        return ::testing::AssertionFailure() << "the MIDI world never settled";

    if (done)
        return ::testing::AssertionSuccess();

    if (! plugin.isConnected())
        return ::testing::AssertionFailure() << "never connected";

    return ::testing::AssertionFailure() << "connected, but " << differences (unit, plugin.params);
}

std::vector<std::string> hostSaw (const testing_support::HostRecorder& host, int index)
{
    std::vector<std::string> result;

    for (const auto& e : host.events)
    {
        if (e.index != index)
            continue;

        if (e.kind == HostEvent::value)
        {
            char text[32];
            std::snprintf (text, sizeof (text), "value %.3f", (double) e.newValue);
            result.emplace_back (text);
        }
        else
        {
            result.emplace_back (e.kind == HostEvent::gestureBegin ? "begin" : "end");
        }
    }

    return result;
}

bool hostGestureEnded (const testing_support::HostRecorder& host, int index, long times)
{
    const auto events = hostSaw (host, index);
    return std::count (events.begin(), events.end(), "end") == times;
}

class Eq713kConnectionTest : public testing_support::MidiWorldTest
{
protected:
    ~Eq713kConnectionTest() override
    {
        EXPECT_EQ (juce::MidiManager::getInstanceWithoutCreating(), nullptr) << "the manager outlived every instance";
    }
};

//==============================================================================
TEST_F (Eq713kConnectionTest, ALoneUnitIsQueriedListedFreeAfterItsWaitAndTakenAtTheFirstTick)
{
    SimulatedUnit unit;
    HostedPlugin plugin;

    ASSERT_TRUE (pumpUntil ([] { return listedCount() == 1; }, patienceMs));
    const auto listedAtMs = now();
    EXPECT_EQ (listing (serialA), "free");
    EXPECT_FALSE (plugin.isConnected());
    EXPECT_EQ (plugin.rememberedSerial(), -1);

    const auto asked = unit.received();
    ASSERT_EQ (asked.size(), 1u);
    EXPECT_EQ (asked[0].bytes, serialNumberQuery);
    EXPECT_GE (listedAtMs - asked[0].sentAtMs, earliestHalfSecondMs) << "listed before the serial-number wait ended";

    ASSERT_TRUE (pumpUntil ([&] { return plugin.isConnected(); }, patienceMs));
    EXPECT_EQ (plugin.rememberedSerial(), serialA);
    EXPECT_EQ (listing (serialA, plugin.instance.getBridge()), "held by the expected holder");
    ASSERT_NE (plugin.instance.getBridge(), nullptr);
    EXPECT_TRUE (plugin.instance.getBridge()->hasHardwareObjects());

    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    const auto sent = unit.received();
    ASSERT_EQ (sent.size(), 2u) << "only the channel selection before the set-up window ends";
    EXPECT_EQ (sent[1].bytes, (Bytes { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0e, 0x04, 0x00, 0xf7 }));
    EXPECT_GE (sent[1].sentAtMs - plugin.builtAtMs, earliestTickMs) << "connected before the first tick";
    EXPECT_EQ (sent[1].sender, std::this_thread::get_id()) << "sent off the message thread";
    EXPECT_TRUE (plugin.selectorRequests.times.empty());
}

TEST_F (Eq713kConnectionTest, EachConnectionSendsTheChannelThenAfterTheSetUpWindowEveryValueWithTheFlagsOfTheSelection)
{
    const struct
    {
        const char* what;
        float channelMode;
        int selectedChannelSetting;
        int channelSent;
        int objectsSelected;
        bool sameOnBothChannels;
    } cases[] {
        { "LINK", 0.0f, 0, 4, 0, true },
        { "DUAL MONO, channel 1 selected", 1.0f, 0, 2, 1, false },
        { "DUAL MONO, channel 2 selected", 1.0f, 1, 1, 2, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        SimulatedUnit unit;
        HostedPlugin plugin;

        // A host restores its session right after building the instance.
        testing_support::restore (plugin.instance, session (c.channelMode, c.sameOnBothChannels,
                                                            { testing_support::setting (ParamData::SELECTED_CHANNEL, c.selectedChannelSetting) }));
        pumpPendingMessages();
        ASSERT_EQ (static_cast<int> (plugin.params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)), c.selectedChannelSetting);
        const auto loBoost = plugin.params.getParamValue (ParamData::LO_BOOST_1);
        plugin.host.events.clear();

        // A knob turned while the unit is being set up is not taken.
        ASSERT_TRUE (pumpUntil ([&] { return unit.receivedCount() >= 2; }, patienceMs));
        unit.turnKnob (4, 250);

        ASSERT_TRUE (connectsAndRecalls (plugin, unit));
        const auto sent = unit.received();
        ASSERT_GE (sent.size(), 3u);
        EXPECT_EQ (sent[0].bytes, serialNumberQuery);
        EXPECT_EQ (sent[1].bytes, valueMessage (serialA, 14, c.channelSent, false)) << "the channel selection comes first";
        EXPECT_GE (sent[2].sentAtMs - sent[1].sentAtMs, earliestHalfSecondMs) << "values sent inside the set-up window";

        Messages recall;
        for (size_t i = 2; i < sent.size(); ++i)
            recall.push_back (sent[i].bytes);

        EXPECT_EQ (recall, recallOf (serialA, c.objectsSelected, c.sameOnBothChannels));

        for (size_t i = 1; i < sent.size(); ++i)
            EXPECT_EQ (sent[i].sender, std::this_thread::get_id()) << "message " << i << " sent off the message thread";

        EXPECT_EQ (plugin.params.getParamValue (ParamData::LO_BOOST_1), loBoost);
        EXPECT_TRUE (hostSaw (plugin.host, ParamData::LO_BOOST_1).empty());
        EXPECT_TRUE (hostSaw (plugin.host, ParamData::LO_BOOST_2).empty());
    }
}

TEST_F (Eq713kConnectionTest, AnEditorChangeAndHostAutomationEachSendExactlyTheirMessages)
{
    SimulatedUnit unit;
    HostedPlugin plugin;
    ASSERT_TRUE (connectsAndRecalls (plugin, unit));
    unit.clearReceived();

    enum Source { fromEditor, fromHost };
    Editor editor;

    struct Change
    {
        const char* what;
        Source source;
        int id;
        float value;
        Messages sent;
    };

    const auto check = [&] (const Change& c)
    {
        if (c.source == fromEditor)
            editor.change (plugin.params, c.id, c.value);
        else
            std::thread ([&] { plugin.instance.getParameters()[c.id]->setValue (c.value); }).join(); // the host's thread

        // Host values and the stereo linker's mirrors arrive in later callbacks.
        pumpPendingMessages();
        ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

        for (const auto& m : unit.received())
            EXPECT_EQ (m.sender, std::this_thread::get_id()) << c.what << ": sent off the message thread";

        EXPECT_EQ (takeSent (unit), c.sent) << c.what;
    };

    const Change linked[] {
        { "LO BOOST 1 at full scale; its mirror on channel 2 is not sent", fromEditor, ParamData::LO_BOOST_1, 1.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x7a, 0x01, 0xf7 } } },
        { "HI BANDWIDTH 1 by automation", fromHost, ParamData::HI_BANDWIDTH_1, 2.0f / 3.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x10, 0x2c, 0x01, 0xf7 } } },
        { "LO BOOST 2 by automation: the unit's controls act on both channels", fromHost, ParamData::LO_BOOST_2, 0.5f, {} },
        { "LO CPS 2 and its mirror on channel 1, each with HI KCS ATTEN in the byte", fromEditor, ParamData::LO_CPS_2, 1.0f / 3.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0d, 0x44, 0x00, 0xf7 },
            { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0d, 0x44, 0x00, 0xf7 } } },
    };

    for (const auto& c : linked)
        check (c);

    // The editor's channel switch sets the mode and the selection together: one channel
    // message, then the recall by the new selection.
    editor.change (plugin.params, ParamData::CHANNEL, 1.0f);
    plugin.params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 1);
    const auto recallLength = 1u + 2u * std::size (controls) + 4u;
    ASSERT_TRUE (pumpUntil ([&] { return unit.receivedCount() >= recallLength; }, patienceMs));
    const auto recall = takeSent (unit);
    ASSERT_EQ (recall.size(), recallLength);
    EXPECT_EQ (recall[0], (Bytes { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0e, 0x01, 0x00, 0xf7 }));
    EXPECT_EQ (differences (unit, plugin.params), "");

    const Change dualMono[] {
        { "HI BOOST 1 goes to the channel not selected", fromEditor, ParamData::HI_BOOST_1, 0.5f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x08, 0x05, 0x7d, 0x00, 0xf7 } } },
        { "HI BOOST 2 goes to the selected channel", fromHost, ParamData::HI_BOOST_2, 1.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x05, 0x7a, 0x01, 0xf7 } } },
        { "ENGAGE 2 off", fromHost, ParamData::ENGAGE_2, 0.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0f, 0x00, 0x00, 0xf7 } } },
        { "HI KCS ATTEN 1 keeps LO CPS 1 in its byte", fromEditor, ParamData::HI_KCS_ATTEN_1, 1.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x08, 0x0d, 0x14, 0x00, 0xf7 } } },
        { "HI ATTEN 1 by automation", fromHost, ParamData::HI_ATTEN_1, 0.8f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x08, 0x0a, 0x48, 0x01, 0xf7 } } },
        { "HI KCS BOOST 2 at its last position", fromHost, ParamData::HI_KCS_BOOST_2, 1.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0c, 0x01, 0x00, 0xf7 } } },
        { "HI BANDWIDTH 2 at its last position", fromEditor, ParamData::HI_BANDWIDTH_2, 1.0f,
          { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x10, 0x7f, 0x01, 0xf7 } } },
    };

    for (const auto& c : dualMono)
        check (c);

    EXPECT_EQ (differences (unit, plugin.params), "");
}

TEST_F (Eq713kConnectionTest, ControlsHandledOnTheUnitReachTheHostAsGesturesAndAreNotSentBack)
{
    SimulatedUnit unit;
    HostedPlugin plugin;
    ASSERT_TRUE (connectsAndRecalls (plugin, unit));
    unit.clearReceived();
    plugin.host.events.clear();

    unit.pressChannelButton(); // linked to channel 1
    ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugin.host, ParamData::CHANNEL, 1); }, patienceMs));
    EXPECT_EQ (hostSaw (plugin.host, ParamData::CHANNEL), (std::vector<std::string> { "begin", "value 1.000", "end" }));
    EXPECT_EQ (static_cast<int> (plugin.params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)), 0);

    // A knob turned in steps, as a hand does: one gesture, channel 1 only.
    for (int value : { 25, 50, 75, 100, 125 })
    {
        unit.turnKnob (4, value);
        pumpFor (100);
    }

    ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugin.host, ParamData::LO_BOOST_1, 1); }, patienceMs));
    const auto loBoost = hostSaw (plugin.host, ParamData::LO_BOOST_1);
    ASSERT_GE (loBoost.size(), 3u);
    EXPECT_EQ (loBoost.front(), "begin");
    EXPECT_EQ (loBoost[loBoost.size() - 2], "value 0.500");
    EXPECT_EQ (loBoost.back(), "end");
    EXPECT_EQ (std::count (loBoost.begin(), loBoost.end(), "begin"), 1) << "the run was split into gestures";
    EXPECT_EQ (std::count (loBoost.begin(), loBoost.end(), "end"), 1);
    EXPECT_EQ (plugin.params.getParamValue (ParamData::LO_BOOST_1), 0.5f);
    EXPECT_TRUE (hostSaw (plugin.host, ParamData::LO_BOOST_2).empty());

    unit.pressChannelButton(); // channel 2
    ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugin.host, ParamData::CHANNEL, 2); }, patienceMs));
    EXPECT_EQ (static_cast<int> (plugin.params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)), 1);

    unit.turnKnob (10, 200);
    ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugin.host, ParamData::HI_ATTEN_2, 1); }, patienceMs));
    EXPECT_EQ (hostSaw (plugin.host, ParamData::HI_ATTEN_2), (std::vector<std::string> { "begin", "value 0.800", "end" }));
    EXPECT_TRUE (hostSaw (plugin.host, ParamData::HI_ATTEN_1).empty());

    EXPECT_EQ (sentTo (unit), Messages {}) << "the unit's own values were sent back";
    EXPECT_EQ (differences (unit, plugin.params), "");
}

TEST_F (Eq713kConnectionTest, AHiBandwidthReportIsTakenAndFollowedByEveryValueAgain)
{
    SimulatedUnit unit;
    HostedPlugin plugin;
    testing_support::restore (plugin.instance, session (1.0f, false, { testing_support::setting (ParamData::SELECTED_CHANNEL, 0) }));
    ASSERT_TRUE (connectsAndRecalls (plugin, unit));
    unit.clearReceived();
    plugin.host.events.clear();

    // The unit reports hardware number 16 once it has switched channels; the plug-in then
    // sends everything, whether or not it was setting the unit up.
    unit.turnKnob (16, 172);
    ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugin.host, ParamData::HI_BANDWIDTH_1, 1); }, patienceMs));
    EXPECT_EQ (hostSaw (plugin.host, ParamData::HI_BANDWIDTH_1), (std::vector<std::string> { "begin", "value 0.667", "end" }));
    EXPECT_EQ (sentTo (unit), recallOf (serialA, 1, false));
}

TEST_F (Eq713kConnectionTest, WithTwoFreeUnitsThePollAsksForTheSelectorEachTickUntilTheUserChooses)
{
    SimulatedUnit unitA (unitWith (serialA));
    SimulatedUnit unitB (unitWith (serialB));
    HostedPlugin plugin;

    ASSERT_TRUE (pumpUntil ([&] { return plugin.selectorRequests.times.size() >= 3; }, patienceMs));
    EXPECT_GE (plugin.selectorRequests.times[2] - plugin.builtAtMs, 3 * earliestTickMs) << "asked more than once a tick";
    EXPECT_FALSE (plugin.isConnected());
    EXPECT_EQ (plugin.rememberedSerial(), -1);
    EXPECT_EQ (sentTo (unitA), Messages { serialNumberQuery });
    EXPECT_EQ (sentTo (unitB), Messages { serialNumberQuery });

    // The selector's CONNECT: a listed unit is taken at once.
    plugin.instance.connectWithDevice (serialB);
    EXPECT_TRUE (plugin.isConnected());
    EXPECT_EQ (plugin.rememberedSerial(), serialB);
    ASSERT_TRUE (connectsAndRecalls (plugin, unitB));
    EXPECT_EQ (sentTo (unitA), Messages { serialNumberQuery });

    // Choosing the other unit gives this one back at once and takes the other at the next tick.
    const auto requests = plugin.selectorRequests.times.size();
    unitB.clearReceived();
    const auto chosenAtMs = now();
    plugin.instance.connectWithDevice (serialA);
    EXPECT_EQ (listing (serialB), "free");
    ASSERT_TRUE (pumpUntil ([&] { return ! plugin.isConnected(); }, patienceMs));

    ASSERT_TRUE (connectsAndRecalls (plugin, unitA));
    const auto sentToA = unitA.received();
    ASSERT_GE (sentToA.size(), 2u);
    EXPECT_EQ (sentToA[1].bytes, valueMessage (serialA, 14, 4, false));
    EXPECT_GE (sentToA[1].sentAtMs - chosenAtMs, earliestTickMs) << "connected before the next tick";
    EXPECT_EQ (plugin.rememberedSerial(), serialA);
    EXPECT_EQ (listing (serialA, plugin.instance.getBridge()), "held by the expected holder");
    EXPECT_EQ (sentTo (unitB), Messages {}) << "sent to the unit given back";
    EXPECT_EQ (plugin.selectorRequests.times.size(), requests) << "asked for the selector with a unit chosen";

    // The selector's DISCONNECT: the unit is given back and left alone.
    unitA.clearReceived();
    plugin.params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);
    plugin.instance.disconnect();
    EXPECT_EQ (listing (serialA), "free");
    pumpFor (1500);
    EXPECT_FALSE (plugin.isConnected());
    EXPECT_EQ (listing (serialA), "free");
    EXPECT_EQ (plugin.rememberedSerial(), serialA);
    EXPECT_EQ (sentTo (unitA), Messages {});
    EXPECT_EQ (plugin.selectorRequests.times.size(), requests);
}

TEST_F (Eq713kConnectionTest, ThePollWaitsSilentlyForItsUnitAndTakesNoOther)
{
    const struct
    {
        const char* what;
        std::vector<int> present;
        std::vector<juce::ValueTree> restored;
        int rememberedMeanwhile;
        bool wantedLater; // else the awaited unit is plugged in later
    } cases[] {
        { "no unit at all", {}, {}, -1, false },
        { "the remembered unit is absent, another is free", { serialB },
          { testing_support::setting (ParamData::CONNECTED_DEV_SN, serialA) }, serialA, false },
        { "not to be connected", { serialA },
          { testing_support::setting (ParamData::SHOULD_BE_CONNECTED, false) }, -1, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::vector<std::unique_ptr<SimulatedUnit>> others;
        std::unique_ptr<SimulatedUnit> awaited;

        for (auto serial : c.present)
        {
            auto unit = std::make_unique<SimulatedUnit> (unitWith (serial));

            if (serial == serialA)
                awaited = std::move (unit);
            else
                others.push_back (std::move (unit));
        }

        HostedPlugin plugin;
        testing_support::restore (plugin.instance, settingsOnly (c.restored));
        pumpFor (2500); // the first two ticks

        EXPECT_FALSE (plugin.isConnected());
        EXPECT_EQ (plugin.rememberedSerial(), c.rememberedMeanwhile);
        EXPECT_TRUE (plugin.selectorRequests.times.empty());

        if (c.wantedLater)
            plugin.params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, true);
        else
            awaited = std::make_unique<SimulatedUnit> (unitWith (serialA));

        ASSERT_TRUE (connectsAndRecalls (plugin, *awaited));
        EXPECT_EQ (plugin.rememberedSerial(), serialA);
        EXPECT_TRUE (plugin.selectorRequests.times.empty());

        for (auto& other : others)
            EXPECT_EQ (sentTo (*other), Messages { serialNumberQuery }) << "another unit was taken";
    }
}

TEST_F (Eq713kConnectionTest, AnUnpluggedUnitIsWaitedForAndTakenBackByItsSerialWithARecall)
{
    for (const bool insideTheSetUpWindow : { false, true })
    {
        SCOPED_TRACE (insideTheSetUpWindow ? "unplugged inside the set-up window" : "unplugged after the recall");
        SimulatedUnit unitA (unitWith (serialA));
        HostedPlugin plugin;

        if (insideTheSetUpWindow)
            ASSERT_TRUE (pumpUntil ([&] { return plugin.isConnected(); }, patienceMs));
        else
            ASSERT_TRUE (connectsAndRecalls (plugin, unitA));

        unitA.unplug();
        ASSERT_TRUE (pumpUntil ([&] { return ! plugin.isConnected(); }, patienceMs));
        const auto* bridge = plugin.instance.getBridge();
        EXPECT_TRUE (bridge == nullptr || ! bridge->hasHardwareObjects()) << "the lost unit's objects are still built";
        EXPECT_EQ (plugin.rememberedSerial(), serialA);
        EXPECT_EQ (listing (serialA), "not listed");

        // Changed while the unit is away, so that only the recall can bring it there; and
        // another unit is free meanwhile.
        Editor editor;
        editor.change (plugin.params, ParamData::HI_BOOST_1, 0.7f);
        SimulatedUnit unitB (unitWith (serialB));
        ASSERT_TRUE (pumpUntil ([] { return listedCount() == 1; }, patienceMs));
        pumpFor (1200);
        EXPECT_FALSE (plugin.isConnected());
        EXPECT_EQ (listing (serialB), "free");
        EXPECT_TRUE (plugin.selectorRequests.times.empty());

        unitA.clearReceived();
        unitA.plugIn();
        ASSERT_TRUE (connectsAndRecalls (plugin, unitA));
        EXPECT_EQ (plugin.rememberedSerial(), serialA);
        EXPECT_EQ (listing (serialA, plugin.instance.getBridge()), "held by the expected holder");

        const auto sent = sentTo (unitA);
        ASSERT_GE (sent.size(), 2u);
        EXPECT_EQ (sent[0], serialNumberQuery) << "not queried again";
        EXPECT_EQ (sent[1], valueMessage (serialA, 14, 4, false));
        EXPECT_EQ (sent.size(), 2u + std::size (controls) + 2u) << "not one recall";
        EXPECT_EQ (unitA.value (1, 5), 175);
        EXPECT_EQ (unitA.value (2, 5), 175);
        EXPECT_EQ (sentTo (unitB), Messages { serialNumberQuery });
    }
}

TEST_F (Eq713kConnectionTest, InstancesShareTheUnitsOneEachAndGoInAnyOrderWhileTheUnitsReport)
{
    const std::array<size_t, 3> orders[] { { 0, 1, 2 }, { 2, 1, 0 }, { 1, 0, 2 } };

    for (const auto& order : orders)
    {
        SCOPED_TRACE ("destroyed in the order " + std::to_string (order[0]) + std::to_string (order[1]) + std::to_string (order[2]));
        std::array<std::unique_ptr<HostedPlugin>, 3> plugins;

        auto unitA = std::make_unique<SimulatedUnit> (unitWith (serialA));
        plugins[0] = std::make_unique<HostedPlugin>();
        ASSERT_TRUE (connectsAndRecalls (*plugins[0], *unitA));

        // A unit found while the manager lives is taken at the new instance's first tick,
        // not at once; the unit the first instance holds is not free for it.
        auto unitB = std::make_unique<SimulatedUnit> (unitWith (serialB));
        ASSERT_TRUE (pumpUntil ([] { return listedCount() == 2; }, patienceMs));
        plugins[1] = std::make_unique<HostedPlugin>();
        ASSERT_TRUE (connectsAndRecalls (*plugins[1], *unitB));
        ASSERT_GE (unitB->received().size(), 2u);
        EXPECT_GE (unitB->received()[1].sentAtMs - plugins[1]->builtAtMs, earliestTickMs) << "taken before the first tick";

        // With every unit held, a third instance waits silently.
        plugins[2] = std::make_unique<HostedPlugin>();
        pumpFor (1500);
        EXPECT_FALSE (plugins[2]->isConnected());

        EXPECT_EQ (plugins[0]->rememberedSerial(), serialA);
        EXPECT_EQ (plugins[1]->rememberedSerial(), serialB);
        EXPECT_EQ (listing (serialA, plugins[0]->instance.getBridge()), "held by the expected holder");
        EXPECT_EQ (listing (serialB, plugins[1]->instance.getBridge()), "held by the expected holder");

        for (auto& plugin : plugins)
            EXPECT_TRUE (plugin->selectorRequests.times.empty());

        // Each instance talks with its own unit only.
        unitA->clearReceived();
        unitB->clearReceived();
        Editor editor;
        editor.change (plugins[0]->params, ParamData::HI_ATTEN_1, 0.4f);
        pumpPendingMessages();
        EXPECT_EQ (sentTo (*unitA), Messages { valueMessage (serialA, 10, 100, false) });
        EXPECT_EQ (sentTo (*unitB), Messages {});

        for (auto& plugin : plugins)
            plugin->host.events.clear();

        unitB->turnKnob (9, 50);
        ASSERT_TRUE (pumpUntil ([&] { return hostGestureEnded (plugins[1]->host, ParamData::LO_ATTEN_1, 1); }, patienceMs));
        EXPECT_EQ (plugins[1]->params.getParamValue (ParamData::LO_ATTEN_1), 0.2f);
        EXPECT_EQ (plugins[0]->params.getParamValue (ParamData::LO_ATTEN_1), 0.0f);
        EXPECT_TRUE (plugins[0]->host.events.empty());
        EXPECT_TRUE (plugins[2]->host.events.empty());

        // Both units keep reporting while the instances go; a unit given back may be taken
        // by the instance still waiting.
        std::atomic<bool> reporting { true };
        std::thread knobs ([&]
        {
            for (int v = 0; reporting.load(); v = (v + 7) % 251)
            {
                unitA->turnKnob (4, v);
                unitB->turnKnob (5, v);
                std::this_thread::sleep_for (std::chrono::milliseconds (2));
            }
        });

        for (size_t i = 0; i < order.size(); ++i)
        {
            pumpFor (i == 1 ? 1200 : 150);
            EXPECT_NE (juce::MidiManager::getInstanceWithoutCreating(), nullptr) << "deleted while an instance is left";
            plugins[order[i]].reset();
        }

        EXPECT_EQ (juce::MidiManager::getInstanceWithoutCreating(), nullptr);
        reporting = false;
        knobs.join();
        pumpPendingMessages();
        unitA.reset();
        unitB.reset();
        testing_support::expectWorldClean();
    }
}

TEST_F (Eq713kConnectionTest, ASessionRestoredWhileConnectedEndsInARecallByItsSelection)
{
    SimulatedUnit unit;
    HostedPlugin plugin;
    ASSERT_TRUE (connectsAndRecalls (plugin, unit));
    unit.clearReceived();

    // The restored settings arrive after the parameters, so the mode may go out first with
    // the old selection; what counts is the last channel message and the recall after it.
    testing_support::restore (plugin.instance, session (1.0f, false, { testing_support::setting (ParamData::SELECTED_CHANNEL, 1) }));
    ASSERT_TRUE (connectsAndRecalls (plugin, unit));

    const auto sent = sentTo (unit);
    const auto lastChannel = std::find_if (sent.rbegin(), sent.rend(), [] (const Bytes& m) { return m.size() > 6 && m[6] == 14; });
    ASSERT_NE (lastChannel, sent.rend()) << "no channel message";
    EXPECT_EQ (*lastChannel, valueMessage (serialA, 14, 1, false));
    EXPECT_EQ (Messages (lastChannel.base(), sent.end()), recallOf (serialA, 2, false));
}

} // namespace

#endif
