#pragma once

// Internals of the in-process MIDI world; only the world's own sources include this.

#include "support/midiworld/VirtualMidiWorld.h"

#if ! JUCE_MAC

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct HvPlatformString
{
    std::string text;
};

namespace hv_midi_world
{

class MidiWorld
{
public:
    using Breach = VirtualMidiWorld::Breach;
    using Call = VirtualMidiWorld::Call;
    using Census = VirtualMidiWorld::Census;
    using DeviceDescription = VirtualMidiWorld::DeviceDescription;
    using PacketList = VirtualMidiWorld::PacketList;
    using PluggedDevice = VirtualMidiWorld::PluggedDevice;
    using Receiver = VirtualMidiWorld::Receiver;

    static MidiWorld& get();

    MidiWorld();
    ~MidiWorld();

    // Strings
    CFStringRef createString (const char* text, CFStringEncoding encoding);
    void release (CFTypeRef object);
    CFIndex length (CFStringRef text);
    bool copyText (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);

    // Clients and ports
    OSStatus createClient (CFStringRef name, MIDINotifyProc notify, void* context, MIDIClientRef* outClient);
    OSStatus disposeClient (MIDIClientRef client);
    OSStatus createInputPort (MIDIClientRef client, CFStringRef name, MIDIReadProc read, void* context, MIDIPortRef* outPort);
    OSStatus connectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionContext);
    OSStatus disconnectSource (MIDIPortRef port, MIDIEndpointRef source);
    OSStatus disposePort (MIDIPortRef port);

    // Devices, entities and endpoints
    ItemCount numberOfDevices();
    MIDIDeviceRef deviceAt (ItemCount index);
    OSStatus stringProperty (MIDIObjectRef object, CFStringRef property, CFStringRef* outString);
    OSStatus integerProperty (MIDIObjectRef object, CFStringRef property, SInt32* outValue);
    ItemCount numberOfEntities (MIDIDeviceRef device);
    MIDIEntityRef entityAt (MIDIDeviceRef device, ItemCount index);
    ItemCount numberOfSources (MIDIEntityRef entity);
    ItemCount numberOfDestinations (MIDIEntityRef entity);
    MIDIEndpointRef sourceAt (MIDIEntityRef entity, ItemCount index);
    MIDIEndpointRef destinationAt (MIDIEntityRef entity, ItemCount index);

    OSStatus send (MIDISysexSendRequest* request);

    // Test control
    PluggedDevice plugIn (const DeviceDescription& description, Receiver receiver);
    void unplug (MIDIDeviceRef device);
    void setOffline (MIDIDeviceRef device, bool offline);
    void postSetupChange (MIDINotificationMessageID messageId);
    void emit (MIDIEndpointRef source, const PacketList& packets, int delayMs);
    void failNext (Call call, int count);
    bool waitUntilIdle (int timeoutMs);
    bool isDeliveryThread() const;
    Census census();
    int breaches (Breach kind);
    int totalBreaches();
    void reset();

private:
    using Clock = std::chrono::steady_clock;
    using Lock = std::unique_lock<std::mutex>;

    struct Client
    {
        MIDINotifyProc notify;
        void* context;
    };

    struct Port
    {
        MIDIClientRef client;
        MIDIReadProc read;
        void* context;
        std::map<MIDIEndpointRef, void*> connections; // source -> connection context
        bool clientDisposed = false;
    };

    struct Device
    {
        PluggedDevice refs;
        DeviceDescription description;
        Receiver receiver;
    };

    /** What the delivery thread is calling out to right now. */
    struct InFlight
    {
        MIDIPortRef port = 0;
        MIDIClientRef client = 0;
        MIDIEndpointRef destination = 0;
    };

    MIDIObjectRef newRef() { return nextRef++; }
    void count (Breach kind) { ++breachCounts[kind]; }
    bool consumeFailure (Call call);

    const HvPlatformString* findString (CFStringRef text);
    Device* findDevice (MIDIDeviceRef ref);
    Device* findDeviceByEntity (MIDIEntityRef ref);
    Device* findDeviceByDestination (MIDIEndpointRef ref);
    bool isLiveSource (MIDIEndpointRef ref);

    /** Waits until the delivery thread is no longer in a callback that matches; from the
        delivery thread itself that callback is the caller's own, so it is a breach. */
    template <typename Predicate>
    void waitForCallbackToEnd (Lock& lock, Predicate isInFlight);

    void enqueue (int delayMs, std::function<void()> task);
    void notifyClients (MIDINotificationMessageID messageId);
    void removeDevice (Lock& lock, MIDIDeviceRef device);

    void runDeliveries();
    void deliverPackets (MIDIEndpointRef source, const std::shared_ptr<const std::vector<uint8_t>>& list);
    void deliverNotification (MIDIClientRef client, MIDINotificationMessageID messageId);
    void deliverSend (MIDISysexSendRequest* request, double sentAtMs, std::thread::id sender);

    std::mutex mutex;
    std::condition_variable wake;    // the delivery thread: a task was queued or it should stop
    std::condition_variable settled; // waiters: a task or callback has finished

    MIDIObjectRef nextRef = 0x100;
    std::unordered_map<const HvPlatformString*, std::unique_ptr<HvPlatformString>> strings;
    std::map<MIDIClientRef, Client> clients;
    std::map<MIDIPortRef, Port> ports;
    std::vector<Device> devices; // in the order they were plugged in
    std::set<MIDISysexSendRequest*> sendsInFlight;
    std::map<Call, int> failures;
    std::map<Breach, int> breachCounts;

    std::map<std::pair<Clock::time_point, uint64_t>, std::function<void()>> queue;
    uint64_t nextTaskNumber = 0;
    bool delivering = false;
    bool stopping = false;
    InFlight inFlight;

    std::thread deliveryThread; // last: starts once everything above exists
};

} // namespace hv_midi_world

#endif
