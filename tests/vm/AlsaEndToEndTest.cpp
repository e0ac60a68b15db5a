// The plug-in with its ALSA backend against units on a real kernel's sequencer: a unit played
// by a sequencer client of its own, and units on simulated USB MIDI devices. Runs only inside
// the test machine that tests/vm/run-in-guest.sh boots: it loads kernel modules.

#include "GadgetUnit.h"
#include "GuestKernel.h"
#include "SequencerUnit.h"
#include "UnitCore.h"

#include "core/CommandListener.h"
#include "core/Eq713kPluginInstance.h"
#include "core/HvCommand.h"
#include "core/Ids.h"
#include "core/ParamData.h"
#include "link/MidiManager.h"
#include "link/platform/alsa/AlsaMidiServer.h"
#include "support/AssertionFailingLogger.h"
#include "support/MessagePump.h"
#include "support/TestParamsManager.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <dirent.h>
#include <pthread.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

using guest_test::Bytes;
using guest_test::Clock;
using guest_test::GadgetUnit;
using guest_test::GuestKernel;
using guest_test::SequencerUnit;
using guest_test::UnitCore;
using testing_support::HostEvent;
using testing_support::pumpFor;
using testing_support::pumpUntil;

namespace
{

// Under emulation everything is slow: generous waits, never a timing claim.
constexpr int patienceMs = 15000;

// The numbers the channel recall sends, channel 1 (linked).
const std::set<int> recalledNumbers { 4, 5, 9, 10, 12, 13, 15, 16 };

std::string environment (const char* name)
{
    const auto* value = std::getenv (name);
    return value != nullptr ? value : "";
}

void loadModules (const char* listVariable)
{
    std::string error;
    ASSERT_TRUE (GuestKernel::loadModules (environment (listVariable), error)) << error;
}

//==============================================================================
class SelectorRequests : public juce::CommandListener
{
public:
    bool commandListenerCallback (juce::HvCommand* command) override
    {
        if (command->id != Ids::hvEq713k::showDeviceSelector)
            return false;

        ++count;
        return true;
    }

    int count = 0;
};

/** An instance as a host holds it, watched as the host would. */
struct Plugin
{
    Plugin()
    {
        instance.addListener (&host);
        instance.addCommandListener (&selector);
    }

    ~Plugin()
    {
        instance.removeCommandListener (&selector);
        instance.removeListener (&host);
    }

    bool isConnected() const { return params.getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true); }
    int rememberedSerial() const { return static_cast<int> (params.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN)); }

    /** As a host's automation does, on the message thread. */
    void hostChange (int id, float value) { instance.getParameters()[id]->setValueNotifyingHost (value); }

    bool gestureEnded (int id) const
    {
        return std::any_of (host.events.begin(), host.events.end(),
                            [id] (const HostEvent& e) { return e.index == id && e.kind == HostEvent::gestureEnd; });
    }

    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    testing_support::HostRecorder host;
    SelectorRequests selector;

    JUCE_DECLARE_NON_COPYABLE (Plugin)
};

int listedUnits()
{
    auto* manager = juce::MidiManager::getInstanceWithoutCreating();
    return manager != nullptr ? manager->getConnectionList()->size() : 0;
}

std::string describe (const std::vector<Bytes>& messages)
{
    std::string text;
    char hex[4];

    for (const auto& m : messages)
    {
        for (auto b : m)
        {
            std::snprintf (hex, sizeof (hex), "%02x ", b);
            text += hex;
        }
        text += "| ";
    }

    return text;
}

/** Every value of channel 1 has reached the unit since it was last cleared. */
bool hasBeenRecalled (const UnitCore& unit)
{
    std::set<int> numbers;
    for (const auto& m : unit.receivedBytes())
        if (m.size() == 10 && m[5] == 0x01)
            numbers.insert (m[6]);
    return std::includes (numbers.begin(), numbers.end(), recalledNumbers.begin(), recalledNumbers.end());
}

/** Runs the message thread until nothing more reaches the unit for a while: the last
    messages of a burst may still be on their way. */
void settle (const UnitCore& unit)
{
    for (int i = 0; i < 50; ++i)
    {
        const auto before = unit.receivedCount();
        pumpFor (300);
        if (unit.receivedCount() == before)
            return;
    }
}

/** The unit was queried, then connected: the channel selection first, then the recall. */
::testing::AssertionResult connectsWithRecall (Plugin& plugin, UnitCore& unit)
{
    if (! pumpUntil ([&] { return plugin.isConnected(); }, patienceMs))
        return ::testing::AssertionFailure() << "never connected; the unit got " << describe (unit.receivedBytes());

    if (! pumpUntil ([&] { return hasBeenRecalled (unit); }, patienceMs))
        return ::testing::AssertionFailure() << "no whole recall; the unit got " << describe (unit.receivedBytes());

    settle (unit);

    const auto messages = unit.receivedBytes();

    if (messages.size() < 2 || messages[0] != UnitCore::query || messages[1] != unit.valueMessage (14, 4))
        return ::testing::AssertionFailure() << "not the query, then the channel selection: " << describe (messages);

    if (plugin.rememberedSerial() != unit.serialNumber())
        return ::testing::AssertionFailure() << "remembers serial " << plugin.rememberedSerial();

    return ::testing::AssertionSuccess();
}

/** A host change reaches the unit as the exact bytes. */
::testing::AssertionResult hostChangeReaches (Plugin& plugin, UnitCore& unit)
{
    // A value it does not have yet: 125 or 50 on the unit.
    const auto toHalf = plugin.params.getParamValue (ParamData::LO_BOOST_1) != 0.5f;
    unit.clear();
    plugin.hostChange (ParamData::LO_BOOST_1, toHalf ? 0.5f : 0.2f);
    const auto expected = unit.valueMessage (4, toHalf ? 125 : 50);

    // The host's change reaches the product through the message thread.
    if (! pumpUntil ([&] { return unit.receivedCount() > 0; }, patienceMs))
        return ::testing::AssertionFailure() << "nothing reached the unit";

    if (unit.receivedBytes().front() != expected)
        return ::testing::AssertionFailure() << "the unit got " << describe (unit.receivedBytes());

    return ::testing::AssertionSuccess();
}

/** A knob turned on the unit reaches the host inside a gesture, and is not sent back. */
template <typename Unit>
::testing::AssertionResult reportReachesHost (Plugin& plugin, Unit& unit)
{
    plugin.host.events.clear();
    unit.core().clear();

    if (! unit.sendReport (4, 50)) // 0.2
        return ::testing::AssertionFailure() << "the unit could not send";

    if (! pumpUntil ([&] { return plugin.gestureEnded (ParamData::LO_BOOST_1); }, patienceMs))
        return ::testing::AssertionFailure() << "no gesture reached the host";

    if (! plugin.host.valuesOnlyInsideGestures (ParamData::LO_BOOST_1) || plugin.params.getParamValue (ParamData::LO_BOOST_1) != 0.2f)
        return ::testing::AssertionFailure() << "value " << plugin.params.getParamValue (ParamData::LO_BOOST_1) << " outside or wrong";

    for (const auto& m : unit.core().receivedBytes())
        if (m.size() > 6 && m[6] == 4)
            return ::testing::AssertionFailure() << "the reported value went back to the unit: " << describe (unit.core().receivedBytes());

    return ::testing::AssertionSuccess();
}

//==============================================================================
TEST (WithoutSequencer, ThePluginListsNoDevicesCrashesNotAndSaysNothing)
{
    ASSERT_FALSE (GuestKernel::exists ("/dev/snd/seq")) << "the sound modules are loaded already";

    // Everything the plug-in writes to the standard error meanwhile is caught.
    std::fflush (stderr);
    const auto saved = ::dup (2);
    const auto caught = ::open ("/tmp/without-sequencer.log", O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2 (caught, 2);

    {
        Plugin plugin;
        pumpFor (2500); // two poll ticks
        EXPECT_FALSE (plugin.isConnected());
        EXPECT_EQ (listedUnits(), 0);
        EXPECT_EQ (MIDIGetNumberOfDevices(), 0u);
    }

    std::fflush (stderr);
    ::dup2 (saved, 2);
    ::close (saved);
    ::close (caught);
    EXPECT_EQ (GuestKernel::readFile ("/tmp/without-sequencer.log"), "");
}

//==============================================================================
class OnTheSequencer : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { loadModules ("HV_SEQUENCER_MODULES"); }

    void SetUp() override { ASSERT_TRUE (GuestKernel::exists ("/dev/snd/seq")); }
};

TEST_F (OnTheSequencer, AUnitOnAClientOfItsOwnIsFoundQueriedConnectedAndPlayed)
{
    SequencerUnit unit ({});
    Plugin plugin;

    ASSERT_TRUE (connectsWithRecall (plugin, unit.core()));
    EXPECT_TRUE (hostChangeReaches (plugin, unit.core()));
    EXPECT_TRUE (reportReachesHost (plugin, unit));
}

struct BadInput
{
    const char* what;
    std::function<void (SequencerUnit&)> send;
    int id;           // the parameter that must stay as it was
};

Bytes padded (Bytes message, size_t length)
{
    message.pop_back();
    message.resize (length - 1, 0x00);
    message.push_back (0xf7);
    return message;
}

TEST_F (OnTheSequencer, BadInputFromAUnitIsDroppedAndTheUnitStillWorks)
{
    SequencerUnit unit ({});
    Plugin plugin;
    ASSERT_TRUE (connectsWithRecall (plugin, unit.core()));
    const auto& core = unit.core();

    const BadInput cases[] {
        { "a report longer than a packet", [&] (SequencerUnit& u) { u.sendSysex (padded (core.report (5, 100), 300)); }, ParamData::HI_BOOST_1 },
        { "a report exactly one byte too long", [&] (SequencerUnit& u) { u.sendSysex (padded (core.report (5, 100), 257)); }, ParamData::HI_BOOST_1 },
        { "chunks that never reach an F7, cut by a note",
          [&] (SequencerUnit& u)
          {
              auto report = core.report (9, 100);
              report.pop_back();
              u.sendSysex (report);
              u.sendNoteOn (60);
              u.sendSysex ({ 0xf7 });
          },
          ParamData::LO_ATTEN_1 },
        { "a start that never ends, then other starts",
          [&] (SequencerUnit& u)
          {
              u.sendSysex ({ 0xf0, 0x00, 0x12, 0x34, 0x15, 0x00, 0x0a });
              u.sendSysex ({ 0xf0, 0x7e, 0x00, 0x06, 0x01, 0xf7 });
          },
          ParamData::HI_ATTEN_1 },
        { "notes and controllers", [&] (SequencerUnit& u) { u.sendNoteOn (64); u.sendController (4, 100); }, ParamData::LO_BOOST_1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto before = plugin.params.getParamValue (c.id);
        c.send (unit);

        // A good report after it shows that everything before it has been handled.
        const auto marker = plugin.params.getParamValue (ParamData::HI_BANDWIDTH_1) < 0.5f ? 255 : 0;
        unit.sendReport (16, marker);
        ASSERT_TRUE (pumpUntil ([&] { return plugin.params.getParamValue (ParamData::HI_BANDWIDTH_1) == (marker == 255 ? 1.0f : 0.0f); },
                                patienceMs));
        EXPECT_EQ (plugin.params.getParamValue (c.id), before);
    }

    // A report handed over in chunks is one message.
    unit.sendSysex ({ 0xf0, 0x00, 0x12 });
    unit.sendSysex ({ 0x34, 0x15, 0x00, 0x0a, 0x48 });
    unit.sendSysex ({ 0x01, 0xf7 }); // 200
    EXPECT_TRUE (pumpUntil ([&] { return plugin.params.getParamValue (ParamData::HI_ATTEN_1) == 0.8f; }, patienceMs));

    // A flood of messages of others, long ones and unfinished ones, with a report at its end.
    for (int i = 0; i < 3000; ++i)
    {
        unit.sendSysex ({ 0xf0, 0x7e, 0x00, 0x06, 0x01, 0xf7 });
        if (i % 10 == 0)
            unit.sendSysex (padded (core.report (9, 10), 400));
        if (i % 10 == 5)
            unit.sendSysex ({ 0xf0, 0x00, 0x12, 0x34 });
    }
    unit.sendReport (9, 200);
    EXPECT_TRUE (pumpUntil ([&] { return plugin.params.getParamValue (ParamData::LO_ATTEN_1) == 0.8f; }, patienceMs));

    EXPECT_TRUE (hostChangeReaches (plugin, unit.core()));
}

TEST_F (OnTheSequencer, ClientsThatOnlyLookLikeTheUnitOrRefuseSubscriptionsAreLeftAlone)
{
    const SequencerUnit::Options options[] {
        { "Halvorstine 713K ", 0, 41, true },
        { "halvorstine 713k", 0, 42, true },
        { "Halvorstine 713K\xc2\xb7", 0, 43, true },
        { "Halvorstine 713K", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE, 44, true },
    };
    std::vector<std::unique_ptr<SequencerUnit>> lookalikes;

    for (const auto& o : options)
        lookalikes.push_back (std::make_unique<SequencerUnit> (o));

    Plugin plugin;
    pumpFor (3000);

    EXPECT_FALSE (plugin.isConnected());
    EXPECT_EQ (listedUnits(), 0);

    for (size_t i = 0; i < lookalikes.size(); ++i)
        EXPECT_EQ (lookalikes[i]->core().receivedCount(), 0u) << "\"" << options[i].name << "\" was sent " << describe (lookalikes[i]->core().receivedBytes());
}

TEST_F (OnTheSequencer, AnInstanceDestroyedWhileItsUnitFloodsItLeavesNothingSubscribed)
{
    SequencerUnit unit ({});
    auto plugin = std::make_unique<Plugin>();
    ASSERT_TRUE (connectsWithRecall (*plugin, unit.core()));

    std::atomic<bool> flooding { true };
    std::thread flood ([&]
    {
        for (int i = 0; flooding; ++i)
            unit.sendReport (4 + i % 2, i % 250);
    });

    pumpFor (300);
    plugin.reset();
    pumpFor (300);
    flooding = false;
    flood.join();

    EXPECT_EQ (GuestKernel::subscriptionsOf (unit.client(), unit.port()), 0);
}

//==============================================================================
// The platform's calls themselves, as the product makes them: what they promise holds on the
// real sequencer.

std::string threadName()
{
    char name[32] = {};
    pthread_getname_np (pthread_self(), name, sizeof (name));
    return name;
}

/** What the calls made back, and from where. */
struct Calls
{
    std::atomic<int> notifications { 0 };
    std::atomic<int> reads { 0 };
    std::atomic<int> readsAfterDisconnect { 0 };
    std::atomic<int> offTheBackendThread { 0 };
    std::atomic<int> completions { 0 };
    std::atomic<int> completionsInsideTheSend { 0 };
    std::atomic<bool> disconnected { false };

    void onBackendThread()
    {
        if (threadName() != hv_alsa::AlsaMidiServer::threadName)
            ++offTheBackendThread;
    }
};

Calls calls;

// Set on the sending thread for the length of its call.
thread_local bool insideSend = false;

void recordNotification (const MIDINotification*, void*)
{
    calls.onBackendThread();
    ++calls.notifications;
}

void recordRead (const MIDIPacketList* list, void*, void*)
{
    calls.onBackendThread();
    ++calls.reads;
    // Lingers, so that a disconnection is likely to meet a read in progress; a read still
    // running once the disconnection has returned is counted as it ends.
    if (list->numPackets == 1 && list->packet[0].length == 10)
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    if (calls.disconnected)
        ++calls.readsAfterDisconnect;
}

void recordCompletion (MIDISysexSendRequest*)
{
    calls.onBackendThread();
    ++calls.completions;
    if (insideSend)
        ++calls.completionsInsideTheSend;
}

MIDIDeviceRef deviceNamed (const std::string& name)
{
    for (ItemCount i = 0; i < MIDIGetNumberOfDevices(); ++i)
    {
        CFStringRef text = nullptr;
        if (MIDIObjectGetStringProperty (MIDIGetDevice (i), kMIDIPropertyName, &text) != noErr)
            continue;
        char buffer[64] = {};
        const auto found = CFStringGetCString (text, buffer, sizeof (buffer), kCFStringEncodingASCII) && name == buffer;
        CFRelease (text);
        if (found)
            return MIDIGetDevice (i);
    }
    return 0;
}

TEST_F (OnTheSequencer, TheCallsKeepTheirPromisesUnderAFlood)
{
    auto name = CFStringCreateWithCString (kCFAllocatorDefault, "Halvorstine Remote MIDI", kCFStringEncodingASCII);
    MIDIClientRef client = 0;
    ASSERT_EQ (MIDIClientCreate (name, recordNotification, nullptr, &client), noErr);

    SequencerUnit unit ({ "Halvorstine 713K", 0, 51, false });
    ASSERT_TRUE (pumpUntil ([&] { return deviceNamed ("Halvorstine 713K") != 0 && calls.notifications > 0; }, patienceMs));
    const auto device = deviceNamed ("Halvorstine 713K");
    SInt32 offline = 1;
    EXPECT_EQ (MIDIObjectGetIntegerProperty (device, kMIDIPropertyOffline, &offline), noErr);
    EXPECT_EQ (offline, 0);
    ASSERT_EQ (MIDIDeviceGetNumberOfEntities (device), 1u);
    const auto entity = MIDIDeviceGetEntity (device, 0);
    const auto source = MIDIEntityGetSource (entity, 0);
    const auto destination = MIDIEntityGetDestination (entity, 0);

    MIDIPortRef port = 0;
    ASSERT_EQ (MIDIInputPortCreate (client, name, recordRead, nullptr, &port), noErr);
    ASSERT_EQ (MIDIPortConnectSource (port, source, nullptr), noErr);

    // Sends: each completes once, later, on the backend's thread.
    const Byte message[] { 0xf0, 0x00, 0x12, 0x34, 0x33, 0x01, 0x04, 0x10, 0x00, 0xf7 };
    std::vector<MIDISysexSendRequest> requests (200);
    for (auto& request : requests)
    {
        request = { destination, message, sizeof (message), 0, {}, recordCompletion, nullptr };
        insideSend = true;
        const auto result = MIDISendSysex (&request);
        insideSend = false;
        ASSERT_EQ (result, noErr);
    }
    EXPECT_TRUE (pumpUntil ([&] { return calls.completions == 200; }, patienceMs));
    EXPECT_TRUE (unit.core().waitUntil ([] (const auto& got) { return got.size() == 200; }, patienceMs)) << unit.core().receivedCount();
    EXPECT_EQ (calls.completionsInsideTheSend, 0);
    MIDISysexSendRequest toNowhere { destination + 1000, message, sizeof (message), 0, {}, recordCompletion, nullptr };
    EXPECT_NE (MIDISendSysex (&toNowhere), noErr);

    // Disconnected in the middle of a flood: no read runs or starts once it has returned.
    std::atomic<bool> flooding { true };
    std::thread flood ([&]
    {
        while (flooding)
            unit.sendReport (4, 1);
    });
    ASSERT_TRUE (pumpUntil ([&] { return calls.reads > 100; }, patienceMs));
    ASSERT_EQ (MIDIPortDisconnectSource (port, source), noErr);
    calls.disconnected = true;
    pumpFor (200);
    flooding = false;
    flood.join();
    EXPECT_EQ (calls.readsAfterDisconnect, 0);

    EXPECT_EQ (MIDIPortDispose (port), noErr);
    EXPECT_EQ (MIDIClientDispose (client), noErr);
    const auto notificationsThen = calls.notifications.load();
    SequencerUnit another ({ "Somebody else", 0, 52, false });
    pumpFor (300);
    EXPECT_EQ (calls.notifications, notificationsThen) << "a notification after the client was disposed";

    EXPECT_EQ (calls.offTheBackendThread, 0);
    EXPECT_EQ (GuestKernel::subscriptionsOf (unit.client(), unit.port()), 0);
    CFRelease (name);
}

TEST_F (OnTheSequencer, TheLastInstanceGoesWhileTheAnnouncePortIsBusyAndANewOneFindsTheUnit)
{
    std::atomic<bool> churning { true };
    std::thread churn ([&]
    {
        // Every client that comes and goes is announced.
        while (churning)
        {
            snd_seq_t* seq = nullptr;
            if (snd_seq_open (&seq, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
                return;
            snd_seq_create_simple_port (seq, "churn", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ, SND_SEQ_PORT_TYPE_MIDI_GENERIC);
            snd_seq_close (seq);
        }
    });

    for (int round = 0; round < 3; ++round)
    {
        Plugin plugin;
        pumpFor (400);
    }

    churning = false;
    churn.join();

    SequencerUnit unit ({});
    Plugin plugin;
    EXPECT_TRUE (connectsWithRecall (plugin, unit.core()));
}

//==============================================================================
class OnUsb : public OnTheSequencer
{
protected:
    static void SetUpTestSuite()
    {
        OnTheSequencer::SetUpTestSuite();
        loadModules ("HV_USB_MODULES");

        if (! GuestKernel::exists ("/sys/kernel/config/usb_gadget"))
        {
            ASSERT_EQ (::mount ("none", "/sys/kernel/config", "configfs", 0, nullptr), 0);
        }
    }

    static GadgetUnit& gadget (int index)
    {
        // Made once each: a gadget of configfs outlives its test.
        static GadgetUnit first ("hvunita", "dummy_udc.0", 31);
        static GadgetUnit second ("hvunitb", "dummy_udc.1", 32);
        return index == 0 ? first : second;
    }

    static ::testing::AssertionResult plugIn (GadgetUnit& unit)
    {
        unit.core().clear();
        std::string error;
        return unit.plugIn (error) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << error;
    }

    void TearDown() override
    {
        for (int i = 0; i < 2; ++i)
            if (gadget (i).isPlugged())
                gadget (i).unplug();
    }
};

TEST_F (OnUsb, AUnitOnAUsbDeviceIsPlayedUnpluggedAndPluggedInAgain)
{
    auto& unit = gadget (0);
    ASSERT_TRUE (plugIn (unit));
    Plugin plugin;

    ASSERT_TRUE (connectsWithRecall (plugin, unit.core()));
    EXPECT_TRUE (hostChangeReaches (plugin, unit.core()));
    EXPECT_TRUE (reportReachesHost (plugin, unit));

    unit.unplug();
    ASSERT_TRUE (pumpUntil ([&] { return ! plugin.isConnected(); }, patienceMs));
    EXPECT_EQ (plugin.rememberedSerial(), 31);

    ASSERT_TRUE (plugIn (unit));
    EXPECT_TRUE (connectsWithRecall (plugin, unit.core()));
    EXPECT_TRUE (hostChangeReaches (plugin, unit.core()));

    // Unplugged and plugged in again before the plug-in looks: the same client number, but a
    // new device, which is queried and connected anew.
    const auto client = GuestKernel::clientsNamed ("Halvorstine 713K");
    unit.unplug();
    for (int i = 0; i < 2500 && ! GuestKernel::clientsNamed ("Halvorstine 713K").empty(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    ASSERT_TRUE (plugIn (unit));
    for (int i = 0; i < 2500 && GuestKernel::clientsNamed ("Halvorstine 713K").empty(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    EXPECT_EQ (GuestKernel::clientsNamed ("Halvorstine 713K"), client);

    EXPECT_TRUE (connectsWithRecall (plugin, unit.core()));
    EXPECT_TRUE (hostChangeReaches (plugin, unit.core()));
}

TEST_F (OnUsb, TwoUnitsAtOnceAskForTheDeviceSelectorAndEachGetsOnlyItsOwnValues)
{
    auto& a = gadget (0);
    auto& b = gadget (1);
    ASSERT_TRUE (plugIn (a));
    ASSERT_TRUE (plugIn (b));

    Plugin first;
    ASSERT_TRUE (pumpUntil ([&] { return first.selector.count > 0; }, patienceMs)) << "listed: " << listedUnits();
    EXPECT_FALSE (first.isConnected());

    // The selector's choice.
    a.core().clear();
    b.core().clear();
    first.instance.connectWithDevice (32);
    ASSERT_TRUE (pumpUntil ([&] { return first.isConnected(); }, patienceMs));
    EXPECT_EQ (first.rememberedSerial(), 32);

    // The other unit is the only free one now.
    Plugin second;
    ASSERT_TRUE (pumpUntil ([&] { return second.isConnected(); }, patienceMs));
    EXPECT_EQ (second.rememberedSerial(), 31);
    ASSERT_TRUE (pumpUntil ([&] { return hasBeenRecalled (a.core()) && hasBeenRecalled (b.core()); }, patienceMs));
    settle (a.core());
    settle (b.core());

    a.core().clear();
    b.core().clear();
    first.hostChange (ParamData::HI_BOOST_1, 0.4f);  // 100
    second.hostChange (ParamData::HI_ATTEN_1, 0.8f); // 200
    EXPECT_TRUE (pumpUntil ([&] { return a.core().receivedCount() > 0 && b.core().receivedCount() > 0; }, patienceMs));
    pumpFor (300);
    EXPECT_EQ (b.core().receivedBytes(), std::vector<Bytes> { b.core().valueMessage (5, 100) });
    EXPECT_EQ (a.core().receivedBytes(), std::vector<Bytes> { a.core().valueMessage (10, 200) });
}

TEST_F (OnUsb, UnpluggingOrTearingDownInTheMiddleOfTrafficCrashesNothingAndLeavesNothingSubscribed)
{
    auto& unit = gadget (0);
    ASSERT_TRUE (plugIn (unit));
    auto plugin = std::make_unique<Plugin>();
    ASSERT_TRUE (connectsWithRecall (*plugin, unit.core()));

    std::atomic<bool> flooding { true };
    const auto flood = [&]
    {
        for (int i = 0; flooding; ++i)
            if (! unit.sendReport (4 + i % 2, i % 250))
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
    };

    // Unplugged while sends are queued and reports are being delivered.
    {
        std::thread reports (flood);
        for (int i = 0; i < 50; ++i)
            plugin->hostChange (ParamData::HI_BOOST_1, (float) (i % 10) / 10.0f);
        unit.unplug();
        pumpFor (200);
        flooding = false;
        reports.join();
    }
    ASSERT_TRUE (pumpUntil ([&] { return ! plugin->isConnected(); }, patienceMs));

    // Torn down while both ways are busy.
    ASSERT_TRUE (plugIn (unit));
    ASSERT_TRUE (connectsWithRecall (*plugin, unit.core()));
    flooding = true;
    std::thread reports (flood);
    for (int i = 0; i < 50; ++i)
        plugin->hostChange (ParamData::HI_BOOST_1, (float) (i % 10) / 10.0f);
    plugin.reset();
    pumpFor (200);
    flooding = false;
    reports.join();

    const auto clients = GuestKernel::clientsNamed ("Halvorstine 713K");
    ASSERT_EQ (clients.size(), 1u);
    EXPECT_EQ (GuestKernel::subscriptionsOf (clients.front(), 0), 0);
}

//==============================================================================
// The benchmark: figures only, no verdict.

double millisecondsBetween (Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli> (b - a).count();
}

void printSpread (const char* what, std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    std::printf ("BENCHMARK %s: median %.2f ms, min %.2f ms, max %.2f ms (%zu runs)\n", what, values[values.size() / 2],
                 values.front(), values.back(), values.size());
}

/** The backend's thread, by its name. */
pid_t backendThread()
{
    auto* dir = ::opendir ("/proc/self/task");
    pid_t found = 0;

    while (auto* entry = ::readdir (dir))
    {
        const std::string tid = entry->d_name;
        if (tid != "." && tid != ".." && GuestKernel::readFile ("/proc/self/task/" + tid + "/comm") == std::string (hv_alsa::AlsaMidiServer::threadName) + "\n")
            found = std::stoi (tid);
    }

    ::closedir (dir);
    return found;
}

struct ThreadUse
{
    double cpuMs;
    long wakeUps;
};

ThreadUse useOf (pid_t tid)
{
    // A thread's CPU clock, by its id.
    const clockid_t clock = (clockid_t) ((~(unsigned) tid << 3) | 6);
    timespec t {};

    if (clock_gettime (clock, &t) != 0)
        return { -1.0, -1 };

    const auto status = GuestKernel::readFile ("/proc/self/task/" + std::to_string (tid) + "/status");
    const auto at = status.find ("voluntary_ctxt_switches:");
    const auto switches = at != std::string::npos ? std::atol (status.c_str() + at + 24) : -1;
    return { (double) t.tv_sec * 1000.0 + (double) t.tv_nsec / 1.0e6, switches };
}

void measureIdle (const char* what, int seconds)
{
    const auto tid = backendThread();

    if (tid == 0)
    {
        std::printf ("BENCHMARK %s: no backend thread found\n", what);
        return;
    }

    const auto before = useOf (tid);
    pumpFor (seconds * 1000);
    const auto after = useOf (tid);
    std::printf ("BENCHMARK backend thread over %d s %s: %.3f ms CPU, %ld wake-ups (%.3f ms CPU and %ld wake-ups since it started)\n",
                 seconds, what, after.cpuMs - before.cpuMs, after.wakeUps - before.wakeUps, after.cpuMs, after.wakeUps);
}

/** A host change until its bytes reach the unit, and a report from the unit until the
    parameter changes, each timed 40 times. */
template <typename Unit>
void measureLatencies (Plugin& plugin, Unit& unit, const std::string& where)
{
    std::vector<double> outbound, inbound;

    for (int i = 0; i < 40; ++i)
    {
        unit.core().clear();
        const auto value = (float) (i % 2 == 0 ? 0.4 : 0.8);
        const auto sent = Clock::now();
        plugin.hostChange (ParamData::HI_BOOST_1, value);
        ASSERT_TRUE (testing_support::spinUntil ([&] { return unit.core().receivedCount() > 0; }, patienceMs));
        outbound.push_back (millisecondsBetween (sent, unit.core().received().front().at));

        const auto reported = i % 2 == 0 ? 50 : 200;
        const auto target = (float) reported / 250.0f;
        const auto start = Clock::now();
        unit.sendReport (9, reported);
        ASSERT_TRUE (testing_support::spinUntil ([&] { return plugin.params.getParamValue (ParamData::LO_ATTEN_1) == target; }, patienceMs));
        inbound.push_back (millisecondsBetween (start, Clock::now()));
        pumpFor (20);
    }

    printSpread (("host change until its bytes reach " + where).c_str(), outbound);
    printSpread (("report from " + where + " until the parameter changes").c_str(), inbound);
}

TEST_F (OnTheSequencer, Benchmark)
{
    if (environment ("HV_BENCHMARK") != "1")
        GTEST_SKIP() << "run with --benchmark";

    const auto idleSeconds = std::atoi (environment ("HV_BENCHMARK_IDLE_SECONDS").c_str());
    {
        Plugin plugin;
        pumpFor (500);
        measureIdle ("with no unit", idleSeconds);
    }

    SequencerUnit unit ({});
    Plugin plugin;
    ASSERT_TRUE (connectsWithRecall (plugin, unit.core()));
    pumpFor (1000);
    measureIdle ("with an idle connected unit", idleSeconds);

    measureLatencies (plugin, unit, "a sequencer client");
}

TEST_F (OnUsb, Benchmark)
{
    if (environment ("HV_BENCHMARK") != "1")
        GTEST_SKIP() << "run with --benchmark";

    auto& unit = gadget (0);
    ASSERT_TRUE (plugIn (unit));
    Plugin plugin;
    ASSERT_TRUE (connectsWithRecall (plugin, unit.core()));
    pumpFor (1000);
    measureLatencies (plugin, unit, "a USB MIDI device");
}

} // namespace

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    if (environment ("HV_SEQUENCER_MODULES").empty())
    {
        std::cerr << "This program loads kernel modules: it runs only in the test machine (tests/vm/run-in-guest.sh)" << std::endl;
        return 2;
    }

    int result = 0;
    {
        // The main thread is the message thread.
        juce::ScopedJuceInitialiser_GUI juce;
        AssertionFailingLogger logger;
        juce::Logger::setCurrentLogger (&logger);
        result = RUN_ALL_TESTS();
        juce::Logger::setCurrentLogger (nullptr);
    }
    return result;
}
