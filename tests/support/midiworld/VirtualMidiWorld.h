#pragma once

// Test control of the in-process MIDI world that serves HvMidiPlatform.h off macOS.
// Product code never includes this.

#include "link/platform/HvMidiPlatform.h"

#if ! JUCE_MAC

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

/** A process-wide stand-in for the platform's MIDI server: devices, entities, endpoints,
    clients and ports, with one delivery thread that makes every read callback, send
    completion and set-up notification.

    Promises kept to the product: no read callback starts, or is still running, once
    MIDIPortDispose or MIDIPortDisconnectSource has returned; likewise no notification after
    MIDIClientDispose; a successful send completes exactly once, a failed one never.
    Misuse by the product is counted as a breach; what it still holds is in the census.
*/
class VirtualMidiWorld
{
public:
    /** A device as the platform would list it. The defaults are a healthy unit. */
    struct DeviceDescription
    {
        std::string name = "Halvorstine 713K"; // UTF-8
        bool nameReadable = true;
        bool offline = false;
        bool offlineReadable = true;
        bool hasEntity = true;
        bool entityLookupFails = false; // counts one entity but hands out none
        bool hasSource = true;
        bool hasDestination = true;
    };

    /** The references of a plugged device; 0 for what it lacks. */
    struct PluggedDevice
    {
        MIDIDeviceRef device = 0;
        MIDIEntityRef entity = 0;
        MIDIEndpointRef source = 0;
        MIDIEndpointRef destination = 0;
    };

    /** What reached a destination, and who sent it when. */
    struct SentMessage
    {
        std::vector<uint8_t> bytes;
        double sentAtMs = 0; // juce::Time::getMillisecondCounterHiRes() when the send was made
        std::thread::id sender;
    };

    /** Called on the delivery thread for every message sent to a device's destination. */
    using Receiver = std::function<void (const SentMessage&)>;

    /** The packets of one packet list, each at most 256 bytes; empty packets are allowed. */
    using PacketList = std::vector<std::vector<uint8_t>>;

    /** Calls whose next results can be made to fail. */
    enum class Call
    {
        clientCreate,
        inputPortCreate,
        sendSysex
    };

    enum class Breach
    {
        unknownObject,               // named a client, port or string that does not exist (any more), or disposed 0
        disconnectWithoutConnection, // the port was not connected to that source
        unownedStringReleased,       // released twice, or never handed out
        badSendRequest,              // no destination, data, length or completion, or still in flight
        disposedInsideOwnCallback    // a port or client disposed by its own running callback
    };

    /** What the product still holds in the world. */
    struct Census
    {
        int clients = 0;
        int ports = 0;
        int connections = 0;
        int strings = 0;
        int sendsInFlight = 0;

        bool operator== (const Census& other) const;
        std::string describe() const;
    };

    /** Adds a device and tells every client that the set-up changed. */
    static PluggedDevice plugIn (const DeviceDescription& description, Receiver receiver = {});

    /** Removes the device and its endpoints and tells every client. Waits until a receiver
        call on its destination has finished, unless called from the delivery thread. */
    static void unplug (MIDIDeviceRef device);

    /** Changes the device's offline property and tells every client. */
    static void setOffline (MIDIDeviceRef device, bool offline);

    /** Tells every client, with the given message id. */
    static void postSetupChange (MIDINotificationMessageID messageId = kMIDIMsgSetupChanged);

    /** Delivers one packet list from the source to every port connected to it when it is
        delivered, after the delay. */
    static void emit (MIDIEndpointRef source, const PacketList& packets, int delayMs = 0);

    /** The next `count` calls of that kind fail. */
    static void failNext (Call call, int count = 1);

    /** True once nothing is queued and nothing is being delivered; false on timeout.
        Not from the delivery thread. */
    static bool waitUntilIdle (int timeoutMs = 5000);

    static bool isDeliveryThread();

    static Census census();
    static int breaches (Breach kind);
    static int totalBreaches();

    /** Waits until idle, unplugs every device, clears injected failures and breaches.
        What the product holds is left as it is. */
    static void reset();
};

#endif
