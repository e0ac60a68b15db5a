#include "support/midiworld/MidiWorld.h"

#if ! JUCE_MAC

#include <algorithm>
#include <cstring>

namespace hv_midi_world
{

namespace
{

enum : OSStatus
{
    unknownObjectError = -10830,
    unknownPropertyError = -10835,
    wrongEndpointError = -10832,
    injectedFailureError = -10900,
    badRequestError = -50
};

bool isAscii (const std::string& text)
{
    return std::all_of (text.begin(), text.end(), [] (char c) { return static_cast<unsigned char> (c) < 0x80; });
}

CFIndex utf16Length (const std::string& utf8)
{
    CFIndex units = 0;

    for (auto c : utf8)
    {
        const auto byte = static_cast<unsigned char> (c);

        if (byte < 0x80 || (byte >= 0xc0 && byte < 0xf0))
            units += 1; // a character of the basic plane starts here
        else if (byte >= 0xf0)
            units += 2; // needs a surrogate pair
    }

    return units;
}

template <typename Value>
void append (std::vector<uint8_t>& buffer, Value value)
{
    const auto* bytes = reinterpret_cast<const uint8_t*> (&value);
    buffer.insert (buffer.end(), bytes, bytes + sizeof (Value));
}

/** The packets laid out as a MIDIPacketList, exactly as long as they need. */
std::vector<uint8_t> makePacketList (const VirtualMidiWorld::PacketList& packets)
{
    std::vector<uint8_t> buffer;
    append (buffer, static_cast<UInt32> (packets.size()));

    for (const auto& packet : packets)
    {
        jassert (packet.size() <= sizeof (MIDIPacket::data));
        const auto length = std::min (packet.size(), sizeof (MIDIPacket::data));

        append (buffer, MIDITimeStamp { 0 });
        append (buffer, static_cast<UInt16> (length));
        buffer.insert (buffer.end(), packet.begin(), packet.begin() + static_cast<std::ptrdiff_t> (length));
    }

    return buffer;
}

} // namespace

//==============================================================================
MidiWorld& MidiWorld::get()
{
    static MidiWorld world;
    return world;
}

MidiWorld::MidiWorld()
    : deliveryThread ([this] { runDeliveries(); })
{
}

MidiWorld::~MidiWorld()
{
    {
        const std::lock_guard<std::mutex> hold (mutex);
        stopping = true;
    }
    wake.notify_all();
    deliveryThread.join();
}

bool MidiWorld::consumeFailure (Call call)
{
    auto found = failures.find (call);

    if (found == failures.end() || found->second <= 0)
        return false;

    --found->second;
    return true;
}

//==============================================================================
// Strings

CFStringRef MidiWorld::createString (const char* text, CFStringEncoding encoding)
{
    if (text == nullptr || encoding != kCFStringEncodingASCII || ! isAscii (text))
        return nullptr;

    auto string = std::make_unique<HvPlatformString> (HvPlatformString { text });
    const auto* ref = string.get();

    const std::lock_guard<std::mutex> hold (mutex);
    strings.emplace (ref, std::move (string));
    return ref;
}

void MidiWorld::release (CFTypeRef object)
{
    const std::lock_guard<std::mutex> hold (mutex);

    if (strings.erase (static_cast<const HvPlatformString*> (object)) == 0)
        count (Breach::unownedStringReleased);
}

const HvPlatformString* MidiWorld::findString (CFStringRef text)
{
    if (text == kMIDIPropertyName || text == kMIDIPropertyOffline)
        return text;

    if (strings.count (text) != 0)
        return text;

    count (Breach::unknownObject);
    return nullptr;
}

CFIndex MidiWorld::length (CFStringRef text)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* string = findString (text);
    return string != nullptr ? utf16Length (string->text) : 0;
}

bool MidiWorld::copyText (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* string = findString (text);

    if (string == nullptr || buffer == nullptr || encoding != kCFStringEncodingASCII || ! isAscii (string->text))
        return false;

    if (bufferSize < static_cast<CFIndex> (string->text.size()) + 1)
        return false;

    std::memcpy (buffer, string->text.c_str(), string->text.size() + 1);
    return true;
}

//==============================================================================
// Clients and ports

OSStatus MidiWorld::createClient (CFStringRef name, MIDINotifyProc notify, void* context, MIDIClientRef* outClient)
{
    const std::lock_guard<std::mutex> hold (mutex);

    if (outClient == nullptr || name == nullptr || findString (name) == nullptr)
        return badRequestError;

    if (consumeFailure (Call::clientCreate))
        return injectedFailureError;

    const auto ref = newRef();
    clients.emplace (ref, Client { notify, context });
    *outClient = ref;
    return noErr;
}

OSStatus MidiWorld::disposeClient (MIDIClientRef client)
{
    Lock lock (mutex);

    if (clients.erase (client) == 0)
    {
        count (Breach::unknownObject);
        return unknownObjectError;
    }

    std::set<MIDIPortRef> itsPorts;

    for (auto& [ref, port] : ports)
    {
        if (port.client == client)
        {
            port.clientDisposed = true;
            itsPorts.insert (ref);
        }
    }

    waitForCallbackToEnd (lock, [&] { return inFlight.client == client || itsPorts.count (inFlight.port) != 0; });

    // The client's ports die with it: naming one afterwards is a breach, as on the platform.
    for (auto ref : itsPorts)
        ports.erase (ref);

    return noErr;
}

OSStatus MidiWorld::createInputPort (MIDIClientRef client, CFStringRef name, MIDIReadProc read, void* context, MIDIPortRef* outPort)
{
    const std::lock_guard<std::mutex> hold (mutex);

    if (outPort == nullptr || read == nullptr || name == nullptr || findString (name) == nullptr)
        return badRequestError;

    if (clients.count (client) == 0)
    {
        // A client of 0 is what a failed client creation leaves; anything else is a stale reference.
        if (client != 0)
            count (Breach::unknownObject);

        return unknownObjectError;
    }

    if (consumeFailure (Call::inputPortCreate))
        return injectedFailureError;

    const auto ref = newRef();
    ports.emplace (ref, Port { client, read, context, {} });
    *outPort = ref;
    return noErr;
}

OSStatus MidiWorld::connectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionContext)
{
    const std::lock_guard<std::mutex> hold (mutex);
    auto found = ports.find (port);

    if (found == ports.end())
    {
        count (Breach::unknownObject);
        return unknownObjectError;
    }

    if (! isLiveSource (source))
        return wrongEndpointError;

    found->second.connections[source] = connectionContext;
    return noErr;
}

OSStatus MidiWorld::disconnectSource (MIDIPortRef port, MIDIEndpointRef source)
{
    Lock lock (mutex);
    auto found = ports.find (port);

    if (found == ports.end())
    {
        count (Breach::unknownObject);
        return unknownObjectError;
    }

    // A connected source that has been unplugged since may still be disconnected.
    if (found->second.connections.erase (source) == 0)
    {
        count (Breach::disconnectWithoutConnection);
        return wrongEndpointError;
    }

    waitForCallbackToEnd (lock, [&] { return inFlight.port == port; });
    return noErr;
}

OSStatus MidiWorld::disposePort (MIDIPortRef port)
{
    Lock lock (mutex);

    if (ports.erase (port) == 0)
    {
        count (Breach::unknownObject);
        return unknownObjectError;
    }

    waitForCallbackToEnd (lock, [&] { return inFlight.port == port; });
    return noErr;
}

template <typename Predicate>
void MidiWorld::waitForCallbackToEnd (Lock& lock, Predicate isInFlight)
{
    if (isDeliveryThread())
    {
        if (isInFlight())
            count (Breach::disposedInsideOwnCallback);

        return;
    }

    settled.wait (lock, [&] { return ! isInFlight(); });
}

//==============================================================================
// Devices, entities and endpoints

MidiWorld::Device* MidiWorld::findDevice (MIDIDeviceRef ref)
{
    auto found = std::find_if (devices.begin(), devices.end(), [ref] (const Device& d) { return ref != 0 && d.refs.device == ref; });
    return found != devices.end() ? &*found : nullptr;
}

MidiWorld::Device* MidiWorld::findDeviceByEntity (MIDIEntityRef ref)
{
    auto found = std::find_if (devices.begin(), devices.end(), [ref] (const Device& d) { return ref != 0 && d.refs.entity == ref; });
    return found != devices.end() ? &*found : nullptr;
}

MidiWorld::Device* MidiWorld::findDeviceByDestination (MIDIEndpointRef ref)
{
    auto found = std::find_if (devices.begin(), devices.end(), [ref] (const Device& d) { return ref != 0 && d.refs.destination == ref; });
    return found != devices.end() ? &*found : nullptr;
}

bool MidiWorld::isLiveSource (MIDIEndpointRef ref)
{
    return std::any_of (devices.begin(), devices.end(), [ref] (const Device& d) { return ref != 0 && d.refs.source == ref; });
}

ItemCount MidiWorld::numberOfDevices()
{
    const std::lock_guard<std::mutex> hold (mutex);
    return devices.size();
}

MIDIDeviceRef MidiWorld::deviceAt (ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    return index < devices.size() ? devices[index].refs.device : 0;
}

OSStatus MidiWorld::stringProperty (MIDIObjectRef object, CFStringRef property, CFStringRef* outString)
{
    Lock lock (mutex);
    const auto* device = findDevice (object);

    if (device == nullptr)
        return unknownObjectError;

    if (property != kMIDIPropertyName || outString == nullptr || ! device->description.nameReadable)
        return unknownPropertyError;

    // Handed out as a string of its own, which the caller releases.
    auto string = std::make_unique<HvPlatformString> (HvPlatformString { device->description.name });
    *outString = string.get();
    strings.emplace (string.get(), std::move (string));
    return noErr;
}

OSStatus MidiWorld::integerProperty (MIDIObjectRef object, CFStringRef property, SInt32* outValue)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDevice (object);

    if (device == nullptr)
        return unknownObjectError;

    if (property != kMIDIPropertyOffline || outValue == nullptr || ! device->description.offlineReadable)
        return unknownPropertyError;

    *outValue = device->description.offline ? 1 : 0;
    return noErr;
}

ItemCount MidiWorld::numberOfEntities (MIDIDeviceRef ref)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDevice (ref);
    return device != nullptr && device->description.hasEntity ? 1 : 0;
}

MIDIEntityRef MidiWorld::entityAt (MIDIDeviceRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDevice (ref);
    return device != nullptr && index == 0 && ! device->description.entityLookupFails ? device->refs.entity : 0;
}

ItemCount MidiWorld::numberOfSources (MIDIEntityRef ref)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDeviceByEntity (ref);
    return device != nullptr && device->refs.source != 0 ? 1 : 0;
}

ItemCount MidiWorld::numberOfDestinations (MIDIEntityRef ref)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDeviceByEntity (ref);
    return device != nullptr && device->refs.destination != 0 ? 1 : 0;
}

MIDIEndpointRef MidiWorld::sourceAt (MIDIEntityRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDeviceByEntity (ref);
    return device != nullptr && index == 0 ? device->refs.source : 0;
}

MIDIEndpointRef MidiWorld::destinationAt (MIDIEntityRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = findDeviceByEntity (ref);
    return device != nullptr && index == 0 ? device->refs.destination : 0;
}

//==============================================================================
// Sending

OSStatus MidiWorld::send (MIDISysexSendRequest* request)
{
    const auto sentAtMs = juce::Time::getMillisecondCounterHiRes();
    const std::lock_guard<std::mutex> hold (mutex);

    if (request == nullptr || request->destination == 0 || request->data == nullptr
        || request->bytesToSend == 0 || request->completionProc == nullptr
        || sendsInFlight.count (request) != 0)
    {
        count (Breach::badSendRequest);
        return badRequestError;
    }

    if (findDeviceByDestination (request->destination) == nullptr)
        return wrongEndpointError; // unplugged, or never a destination

    if (consumeFailure (Call::sendSysex))
        return injectedFailureError;

    sendsInFlight.insert (request);
    enqueue (0, [this, request, sentAtMs, sender = std::this_thread::get_id()] { deliverSend (request, sentAtMs, sender); });
    return noErr;
}

//==============================================================================
// Delivery

void MidiWorld::enqueue (int delayMs, std::function<void()> task)
{
    const auto due = Clock::now() + std::chrono::milliseconds (std::max (0, delayMs));
    queue.emplace (std::make_pair (due, nextTaskNumber++), std::move (task));
    wake.notify_one();
}

void MidiWorld::notifyClients (MIDINotificationMessageID messageId)
{
    for (const auto& entry : clients)
    {
        const auto client = entry.first;
        enqueue (0, [this, client, messageId] { deliverNotification (client, messageId); });
    }
}

bool MidiWorld::isDeliveryThread() const
{
    return std::this_thread::get_id() == deliveryThread.get_id();
}

void MidiWorld::runDeliveries()
{
    Lock lock (mutex);

    for (;;)
    {
        if (queue.empty())
        {
            if (stopping)
                return;

            wake.wait (lock);
            continue;
        }

        auto first = queue.begin();

        // On the way out everything left is delivered at once, so that sends still complete.
        if (! stopping && first->first.first > Clock::now())
        {
            wake.wait_until (lock, first->first.first);
            continue;
        }

        auto task = std::move (first->second);
        queue.erase (first);
        delivering = true;

        lock.unlock();
        task();
        task = nullptr; // whatever it captured goes before the world counts as idle
        lock.lock();

        delivering = false;
        settled.notify_all();
    }
}

void MidiWorld::deliverPackets (MIDIEndpointRef source, const std::shared_ptr<const std::vector<uint8_t>>& list)
{
    Lock lock (mutex);

    if (! isLiveSource (source))
        return;

    std::vector<MIDIPortRef> listening;

    for (const auto& [ref, port] : ports)
        if (port.connections.count (source) != 0)
            listening.push_back (ref);

    for (const auto ref : listening)
    {
        // Looked up again: an earlier callback may have disposed or disconnected it.
        auto found = ports.find (ref);

        if (found == ports.end() || found->second.clientDisposed || found->second.connections.count (source) == 0)
            continue;

        const auto read = found->second.read;
        auto* const context = found->second.context;
        auto* const connectionContext = found->second.connections[source];

        inFlight.port = ref;
        lock.unlock();
        read (reinterpret_cast<const MIDIPacketList*> (list->data()), context, connectionContext);
        lock.lock();
        inFlight.port = 0;
        settled.notify_all();
    }
}

void MidiWorld::deliverNotification (MIDIClientRef ref, MIDINotificationMessageID messageId)
{
    Lock lock (mutex);
    auto found = clients.find (ref);

    if (found == clients.end() || found->second.notify == nullptr)
        return;

    const auto notify = found->second.notify;
    auto* const context = found->second.context;
    const MIDINotification message { messageId, sizeof (MIDINotification) };

    inFlight.client = ref;
    lock.unlock();
    notify (&message, context);
    lock.lock();
    inFlight.client = 0;
    settled.notify_all();
}

void MidiWorld::deliverSend (MIDISysexSendRequest* request, double sentAtMs, std::thread::id sender)
{
    Lock lock (mutex);
    sendsInFlight.erase (request);

    // Read only now: the sender must keep the request and its bytes alive until completion.
    VirtualMidiWorld::SentMessage message { { request->data, request->data + request->bytesToSend }, sentAtMs, sender };

    if (auto* device = findDeviceByDestination (request->destination); device != nullptr && device->receiver)
    {
        auto receiver = device->receiver;
        inFlight.destination = request->destination;
        lock.unlock();
        receiver (message);
        lock.lock();
        inFlight.destination = 0;
        settled.notify_all();
    }

    lock.unlock();
    request->complete = true;
    request->completionProc (request);
}

//==============================================================================
// Test control

VirtualMidiWorld::PluggedDevice MidiWorld::plugIn (const DeviceDescription& description, Receiver receiver)
{
    const std::lock_guard<std::mutex> hold (mutex);

    Device device { {}, description, std::move (receiver) };
    device.refs.device = newRef();
    device.refs.entity = newRef();
    device.refs.source = description.hasSource ? newRef() : 0;
    device.refs.destination = description.hasDestination ? newRef() : 0;
    devices.push_back (device);

    notifyClients (kMIDIMsgSetupChanged);
    return device.refs;
}

void MidiWorld::unplug (MIDIDeviceRef device)
{
    Lock lock (mutex);
    removeDevice (lock, device);
}

void MidiWorld::removeDevice (Lock& lock, MIDIDeviceRef ref)
{
    auto* device = findDevice (ref);
    jassert (device != nullptr);

    if (device == nullptr)
        return;

    // Ports keep their connection to the vanished source: disconnecting it is still allowed.
    const auto destination = device->refs.destination;
    devices.erase (devices.begin() + (device - devices.data()));
    notifyClients (kMIDIMsgSetupChanged);

    // Its receiver may belong to an object that goes away once this returns.
    if (! isDeliveryThread())
        settled.wait (lock, [&] { return destination == 0 || inFlight.destination != destination; });
}

void MidiWorld::setOffline (MIDIDeviceRef ref, bool offline)
{
    const std::lock_guard<std::mutex> hold (mutex);
    auto* device = findDevice (ref);
    jassert (device != nullptr);

    if (device != nullptr)
    {
        device->description.offline = offline;
        notifyClients (kMIDIMsgSetupChanged);
    }
}

void MidiWorld::postSetupChange (MIDINotificationMessageID messageId)
{
    const std::lock_guard<std::mutex> hold (mutex);
    notifyClients (messageId);
}

void MidiWorld::emit (MIDIEndpointRef source, const PacketList& packets, int delayMs)
{
    auto list = std::make_shared<const std::vector<uint8_t>> (makePacketList (packets));

    // A source unplugged before delivery delivers nothing.
    const std::lock_guard<std::mutex> hold (mutex);
    enqueue (delayMs, [this, source, list] { deliverPackets (source, list); });
}

void MidiWorld::failNext (Call call, int count)
{
    const std::lock_guard<std::mutex> hold (mutex);
    failures[call] = count;
}

bool MidiWorld::waitUntilIdle (int timeoutMs)
{
    jassert (! isDeliveryThread());

    Lock lock (mutex);
    return settled.wait_for (lock, std::chrono::milliseconds (timeoutMs), [this] { return queue.empty() && ! delivering; });
}

VirtualMidiWorld::Census MidiWorld::census()
{
    const std::lock_guard<std::mutex> hold (mutex);

    Census result;
    result.clients = static_cast<int> (clients.size());
    result.ports = static_cast<int> (ports.size());
    result.strings = static_cast<int> (strings.size());
    result.sendsInFlight = static_cast<int> (sendsInFlight.size());

    for (const auto& entry : ports)
        result.connections += static_cast<int> (entry.second.connections.size());

    return result;
}

int MidiWorld::breaches (Breach kind)
{
    const std::lock_guard<std::mutex> hold (mutex);
    auto found = breachCounts.find (kind);
    return found != breachCounts.end() ? found->second : 0;
}

int MidiWorld::totalBreaches()
{
    const std::lock_guard<std::mutex> hold (mutex);
    int total = 0;

    for (const auto& entry : breachCounts)
        total += entry.second;

    return total;
}

void MidiWorld::reset()
{
    waitUntilIdle (5000);

    {
        Lock lock (mutex);

        while (! devices.empty())
            removeDevice (lock, devices.back().refs.device);

        failures.clear();
        breachCounts.clear();
    }

    waitUntilIdle (5000);
}

} // namespace hv_midi_world

#endif
