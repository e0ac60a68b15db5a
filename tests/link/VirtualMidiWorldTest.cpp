#include "support/midiworld/VirtualMidiWorld.h"

#include "support/MidiWorldFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using testing_support::TestMidiClient;
using testing_support::waitFor;
using Breach = VirtualMidiWorld::Breach;
using Call = VirtualMidiWorld::Call;

namespace
{

using Bytes = std::vector<uint8_t>;

CFStringRef makeString (const char* text)
{
    return CFStringCreateWithCString (kCFAllocatorDefault, text, kCFStringEncodingASCII);
}

/** An input port that records what it reads; its callback can be held at a gate, which
    holds up the delivery thread. */
class RecordingPort
{
public:
    RecordingPort (MIDIClientRef client, MIDIEndpointRef source)
    {
        auto name = makeString ("Test port");
        MIDIInputPortCreate (client, name, read, this, &ref);
        CFRelease (name);
        MIDIPortConnectSource (ref, source, nullptr);
    }

    ~RecordingPort()
    {
        if (ref != 0)
            MIDIPortDispose (ref);
    }

    /** Every packet of every list read so far. */
    std::vector<Bytes> packets() const
    {
        const std::lock_guard<std::mutex> hold (mutex);
        return recorded;
    }

    MIDIPortRef ref = 0;
    std::atomic<bool> gateOpen { true };
    std::atomic<int> entered { 0 };
    std::function<void()> afterGate; // on the delivery thread

private:
    static void read (const MIDIPacketList* list, void* context, void*)
    {
        auto& port = *static_cast<RecordingPort*> (context);
        ++port.entered;
        waitFor ([&] { return port.gateOpen.load(); });

        {
            const std::lock_guard<std::mutex> hold (port.mutex);
            const auto* packet = &list->packet[0];

            for (UInt32 i = 0; i < list->numPackets; ++i)
            {
                if (i > 0)
                    packet = MIDIPacketNext (packet);

                port.recorded.emplace_back (packet->data, packet->data + packet->length);
            }
        }

        if (port.afterGate)
            port.afterGate();
    }

    mutable std::mutex mutex;
    std::vector<Bytes> recorded;
};

/** A request block that counts its completions. */
struct CountingRequest
{
    explicit CountingRequest (MIDIEndpointRef destination)
    {
        request.destination = destination;
        request.data = bytes.data();
        request.bytesToSend = (UInt32) bytes.size();
        request.completionProc = completed;
        request.completionRefCon = this;
    }

    static void completed (MIDISysexSendRequest* r)
    {
        auto& self = *static_cast<CountingRequest*> (r->completionRefCon);
        self.offTheDeliveryThread += VirtualMidiWorld::isDeliveryThread() ? 0 : 1;
        ++self.completions;
    }

    Bytes bytes { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };
    MIDISysexSendRequest request {};
    std::atomic<int> completions { 0 };
    std::atomic<int> offTheDeliveryThread { 0 };
};

class VirtualMidiWorldTest : public testing_support::MidiWorldTest
{
};

//==============================================================================
struct DeviceCase
{
    const char* name;
    std::function<void (VirtualMidiWorld::DeviceDescription&)> change;
    bool nameReadable;
    CFIndex nameLength;
    bool nameIsAscii;
    bool offlineReadable;
    SInt32 offline;
};

TEST_F (VirtualMidiWorldTest, ListsEveryPluggedDeviceWithItsNameAndOfflineState)
{
    const DeviceCase cases[] {
        { "healthy", [] (auto&) {}, true, 16, true, true, 0 },
        { "name not readable", [] (auto& d) { d.nameReadable = false; }, false, 0, false, true, 0 },
        { "name not ASCII", [] (auto& d) { d.name = "Halvorstine 713K \xc3\xa9"; }, true, 18, false, true, 0 },
        { "offline", [] (auto& d) { d.offline = true; }, true, 16, true, true, 1 },
        { "offline state not readable", [] (auto& d) { d.offlineReadable = false; }, true, 16, true, false, 0 },
    };

    std::vector<MIDIDeviceRef> plugged;

    for (const auto& c : cases)
    {
        VirtualMidiWorld::DeviceDescription description;
        c.change (description);
        plugged.push_back (VirtualMidiWorld::plugIn (description).device);
    }

    ASSERT_EQ (MIDIGetNumberOfDevices(), std::size (cases));

    for (size_t i = 0; i < std::size (cases); ++i)
    {
        const auto& c = cases[i];
        SCOPED_TRACE (c.name);
        const auto device = MIDIGetDevice (i);
        EXPECT_EQ (device, plugged[i]);

        CFStringRef name = nullptr;
        ASSERT_EQ (MIDIObjectGetStringProperty (device, kMIDIPropertyName, &name) == noErr, c.nameReadable);

        if (c.nameReadable)
        {
            const auto length = CFStringGetLength (name);
            EXPECT_EQ (length, c.nameLength);

            std::vector<char> buffer ((size_t) length + 1);
            EXPECT_EQ (CFStringGetCString (name, buffer.data(), length + 1, kCFStringEncodingASCII) != 0, c.nameIsAscii);
            EXPECT_EQ (CFStringGetCString (name, buffer.data(), length, kCFStringEncodingASCII), 0) << "one byte short";
            CFRelease (name);
        }

        SInt32 offline = -1;
        ASSERT_EQ (MIDIObjectGetIntegerProperty (device, kMIDIPropertyOffline, &offline) == noErr, c.offlineReadable);

        if (c.offlineReadable)
        {
            EXPECT_EQ (offline, c.offline);
        }
    }

    VirtualMidiWorld::unplug (plugged[1]);
    EXPECT_EQ (MIDIGetNumberOfDevices(), std::size (cases) - 1);
    EXPECT_EQ (MIDIGetDevice (1), plugged[2]);
    EXPECT_EQ (MIDIGetDevice (std::size (cases)), 0u);
}

TEST_F (VirtualMidiWorldTest, EndpointsAreFoundThroughTheFirstEntity)
{
    const auto unit = VirtualMidiWorld::plugIn ({});
    VirtualMidiWorld::DeviceDescription bare;
    bare.hasSource = false;
    bare.hasDestination = false;
    const auto withoutEndpoints = VirtualMidiWorld::plugIn (bare);

    ASSERT_EQ (MIDIDeviceGetNumberOfEntities (unit.device), 1u);
    const auto entity = MIDIDeviceGetEntity (unit.device, 0);
    EXPECT_EQ (MIDIEntityGetNumberOfSources (entity), 1u);
    EXPECT_EQ (MIDIEntityGetNumberOfDestinations (entity), 1u);
    EXPECT_EQ (MIDIEntityGetSource (entity, 0), unit.source);
    EXPECT_EQ (MIDIEntityGetDestination (entity, 0), unit.destination);
    EXPECT_NE (unit.source, unit.destination);

    const auto bareEntity = MIDIDeviceGetEntity (withoutEndpoints.device, 0);
    EXPECT_EQ (MIDIEntityGetNumberOfSources (bareEntity), 0u);
    EXPECT_EQ (MIDIEntityGetNumberOfDestinations (bareEntity), 0u);
}

//==============================================================================
TEST_F (VirtualMidiWorldTest, SetUpChangesReachEveryClientFromTheDeliveryThreadUntilItIsDisposed)
{
    TestMidiClient client;
    const auto device = VirtualMidiWorld::plugIn ({}).device;
    VirtualMidiWorld::setOffline (device, true);
    VirtualMidiWorld::postSetupChange (kMIDIMsgObjectAdded);
    VirtualMidiWorld::unplug (device);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (client.setupChanges, 3);
    EXPECT_EQ (client.otherNotifications, 1);
    EXPECT_EQ (client.notificationsOffTheDeliveryThread, 0);

    // A notification still queued when its client goes is never delivered.
    TestMidiClient portOwner;
    const auto unit = VirtualMidiWorld::plugIn ({});
    RecordingPort blocking (portOwner.ref, unit.source);

    std::atomic<int> leavingNotified { 0 };
    auto name = makeString ("Leaving");
    MIDIClientRef leaving = 0;
    MIDIClientCreate (name, [] (const MIDINotification*, void* c) { ++*static_cast<std::atomic<int>*> (c); }, &leavingNotified, &leaving);
    CFRelease (name);

    blocking.gateOpen = false;
    VirtualMidiWorld::emit (unit.source, { { 0x01 } });
    ASSERT_TRUE (waitFor ([&] { return blocking.entered == 1; }));
    VirtualMidiWorld::postSetupChange();
    MIDIClientDispose (leaving);
    blocking.gateOpen = true;

    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (leavingNotified, 0);
    EXPECT_EQ (portOwner.setupChanges, 2) << "the client that stays still hears of it";
}

TEST_F (VirtualMidiWorldTest, AReadCallbackNeverRunsOnceItsPortIsDisposed)
{
    TestMidiClient client;
    const auto unit = VirtualMidiWorld::plugIn ({});
    auto port = std::make_unique<RecordingPort> (client.ref, unit.source);

    std::atomic<bool> disposeReturned { false };
    std::atomic<int> lateCallbacks { 0 };
    port->afterGate = [&]
    {
        // Gives a disposal that does not wait the time to return before this callback ends.
        for (int i = 0; i < 1000; ++i)
            std::this_thread::yield();

        lateCallbacks += disposeReturned ? 1 : 0;
    };

    port->gateOpen = false;
    VirtualMidiWorld::emit (unit.source, { { 0x01 } });
    VirtualMidiWorld::emit (unit.source, { { 0x02 } });
    ASSERT_TRUE (waitFor ([&] { return port->entered == 1; }));

    std::thread disposer ([&]
    {
        MIDIPortDispose (port->ref);
        disposeReturned = true;
    });
    port->gateOpen = true;
    disposer.join();
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (lateCallbacks, 0);
    port->ref = 0; // already disposed
}

//==============================================================================
TEST_F (VirtualMidiWorldTest, ASuccessfulSendCompletesOnceAndAFailedOneNever)
{
    std::vector<VirtualMidiWorld::SentMessage> delivered;
    std::mutex deliveredMutex;
    const auto unit = VirtualMidiWorld::plugIn ({}, [&] (const VirtualMidiWorld::SentMessage& m)
    {
        const std::lock_guard<std::mutex> hold (deliveredMutex);
        delivered.push_back (m);
    });

    CountingRequest sent (unit.destination);
    ASSERT_EQ (MIDISendSysex (&sent.request), noErr);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (sent.completions, 1);
    EXPECT_EQ (sent.offTheDeliveryThread, 0);
    EXPECT_TRUE (sent.request.complete);
    ASSERT_EQ (delivered.size(), 1u);
    EXPECT_EQ (delivered[0].bytes, sent.bytes);
    EXPECT_EQ (delivered[0].sender, std::this_thread::get_id());

    CountingRequest failed (unit.destination);
    VirtualMidiWorld::failNext (Call::sendSysex);
    EXPECT_NE (MIDISendSysex (&failed.request), noErr);

    VirtualMidiWorld::unplug (unit.device);
    CountingRequest toNowhere (unit.destination);
    EXPECT_NE (MIDISendSysex (&toNowhere.request), noErr);

    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (failed.completions, 0);
    EXPECT_EQ (toNowhere.completions, 0);
    EXPECT_EQ (delivered.size(), 1u);
}

TEST_F (VirtualMidiWorldTest, APacketListIsReadPacketAfterPacketAfterItsDelay)
{
    TestMidiClient client;
    const auto unit = VirtualMidiWorld::plugIn ({});
    RecordingPort port (client.ref, unit.source);

    Bytes longest (256);
    for (size_t i = 0; i < longest.size(); ++i)
        longest[i] = static_cast<uint8_t> (i);

    const VirtualMidiWorld::PacketList packets { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x00, 0x04, 0x7a, 0x01, 0xf7 }, {}, { 0xf0, 0x00, 0x12 }, longest };
    VirtualMidiWorld::emit (unit.source, { { 0x01 } }, 30);
    VirtualMidiWorld::emit (unit.source, packets);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    auto expected = packets;
    expected.push_back ({ 0x01 });
    EXPECT_EQ (port.packets(), expected);
}

TEST_F (VirtualMidiWorldTest, InjectedFailuresHitOnlyTheNextCalls)
{
    auto name = makeString ("Client");
    MIDIClientRef client = 0;
    VirtualMidiWorld::failNext (Call::clientCreate);
    EXPECT_NE (MIDIClientCreate (name, nullptr, nullptr, &client), noErr);
    EXPECT_EQ (client, 0u);
    ASSERT_EQ (MIDIClientCreate (name, nullptr, nullptr, &client), noErr);

    VirtualMidiWorld::failNext (Call::inputPortCreate, 2);
    MIDIPortRef port = 0;
    EXPECT_NE (MIDIInputPortCreate (client, name, [] (const MIDIPacketList*, void*, void*) {}, nullptr, &port), noErr);
    EXPECT_NE (MIDIInputPortCreate (client, name, [] (const MIDIPacketList*, void*, void*) {}, nullptr, &port), noErr);
    EXPECT_EQ (port, 0u);
    ASSERT_EQ (MIDIInputPortCreate (client, name, [] (const MIDIPacketList*, void*, void*) {}, nullptr, &port), noErr);

    EXPECT_EQ (VirtualMidiWorld::census().describe(), (VirtualMidiWorld::Census { 1, 1, 0, 1, 0 }.describe()));

    MIDIPortDispose (port);
    MIDIClientDispose (client);
    CFRelease (name);
}

//==============================================================================
struct BreachCase
{
    const char* name;
    Breach expected;
    std::function<void (MIDIClientRef client, const VirtualMidiWorld::PluggedDevice& unit)> misuse;
};

struct PortDisposingItself
{
    MIDIPortRef port = 0;

    static void read (const MIDIPacketList*, void* context, void*)
    {
        MIDIPortDispose (static_cast<PortDisposingItself*> (context)->port);
    }
};

TEST_F (VirtualMidiWorldTest, EachMisuseIsCountedAsItsBreach)
{
    const BreachCase cases[] {
        { "string released twice", Breach::unownedStringReleased, [] (auto, auto&)
          {
              auto text = makeString ("x");
              CFRelease (text);
              CFRelease (text);
          } },
        { "constant released", Breach::unownedStringReleased, [] (auto, auto&) { CFRelease (kMIDIPropertyName); } },
        { "port disposed twice", Breach::unknownObject, [] (MIDIClientRef client, auto&)
          {
              auto name = makeString ("p");
              MIDIPortRef port = 0;
              MIDIInputPortCreate (client, name, [] (const MIDIPacketList*, void*, void*) {}, nullptr, &port);
              CFRelease (name);
              MIDIPortDispose (port);
              MIDIPortDispose (port);
          } },
        { "source disconnected that was never connected", Breach::disconnectWithoutConnection, [] (MIDIClientRef client, auto& unit)
          {
              auto name = makeString ("p");
              MIDIPortRef port = 0;
              MIDIInputPortCreate (client, name, [] (const MIDIPacketList*, void*, void*) {}, nullptr, &port);
              CFRelease (name);
              MIDIPortDisconnectSource (port, unit.source);
              MIDIPortDispose (port);
          } },
        { "send without destination", Breach::badSendRequest, [] (auto, auto&)
          {
              CountingRequest nowhere (0);
              MIDISendSysex (&nowhere.request);
          } },
        { "port disposed by its own callback", Breach::disposedInsideOwnCallback, [] (MIDIClientRef client, auto& unit)
          {
              auto name = makeString ("p");
              PortDisposingItself self;
              MIDIInputPortCreate (client, name, PortDisposingItself::read, &self, &self.port);
              CFRelease (name);
              MIDIPortConnectSource (self.port, unit.source, nullptr);
              VirtualMidiWorld::emit (unit.source, { { 0x01 } });
              VirtualMidiWorld::waitUntilIdle();
          } },
    };

    TestMidiClient client;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto unit = VirtualMidiWorld::plugIn ({});

        c.misuse (client.ref, unit);
        ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

        EXPECT_EQ (VirtualMidiWorld::breaches (c.expected), 1);
        EXPECT_EQ (VirtualMidiWorld::totalBreaches(), 1);
        VirtualMidiWorld::reset();
    }
}

} // namespace
