#include "link/platform/alsa/AlsaMidiServer.h"

#if ! JUCE_MAC

#include <alsa/asoundlib.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace hv_alsa
{

namespace
{

enum : OSStatus
{
    objectNotFoundError = -10842,
    unknownEndpointError = -10832,
    serverUnavailableError = -10844,
    badArgumentError = -50
};

constexpr const char* sequencerDevice = "/dev/snd/seq";

// How long a message waits for room at its destination before it is given up.
constexpr int outputPatienceMs = 100;

bool isSetupEvent (int type)
{
    switch (type)
    {
        case SND_SEQ_EVENT_CLIENT_START:
        case SND_SEQ_EVENT_CLIENT_EXIT:
        case SND_SEQ_EVENT_CLIENT_CHANGE:
        case SND_SEQ_EVENT_PORT_START:
        case SND_SEQ_EVENT_PORT_EXIT:
        case SND_SEQ_EVENT_PORT_CHANGE:
            return true;
        default:
            return false;
    }
}

} // namespace

AlsaMidiServer& AlsaMidiServer::get()
{
    static AlsaMidiServer server;
    return server;
}

AlsaMidiServer::~AlsaMidiServer()
{
    // Reached only when the program ends, or the plug-in is unloaded, with a client still open.
    const std::lock_guard<std::mutex> hold (lifecycle);
    Lock lock (mutex);
    clients.clear();
    ports.clear();
    close (lock);
}

bool AlsaMidiServer::isBackendThread() const
{
    return std::this_thread::get_id() == thread.get_id();
}

//==============================================================================
// Opening and closing the sequencer

bool AlsaMidiServer::open (const std::string& clientName)
{
    // Checked first because the library reports a failed open on the standard error, and a
    // machine without sequencer, or a user without access to it, is no error of ours.
    if (::access (sequencerDevice, R_OK | W_OK) != 0)
        return false;

    snd_seq_t* handle = nullptr;

    if (snd_seq_open (&handle, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return false;

    int pipeEnds[2] = { -1, -1 };

    if (::pipe2 (pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0)
    {
        snd_seq_close (handle);
        return false;
    }

    snd_seq_set_client_name (handle, clientName.c_str());
    constexpr auto privatePort = SND_SEQ_PORT_CAP_NO_EXPORT;
    constexpr auto type = SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION;
    const auto announce = snd_seq_create_simple_port (handle, "Announce listener", SND_SEQ_PORT_CAP_WRITE | privatePort, type);
    const auto sender = snd_seq_create_simple_port (handle, "Halvorstine Remote MIDI Output", SND_SEQ_PORT_CAP_READ | privatePort, type);

    if (announce < 0 || sender < 0
        || snd_seq_connect_from (handle, announce, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0)
    {
        snd_seq_close (handle);
        ::close (pipeEnds[0]);
        ::close (pipeEnds[1]);
        return false;
    }

    seq = handle;
    ownClient = snd_seq_client_id (handle);
    announcePort = announce;
    senderPort = sender;
    wakeRead = pipeEnds[0];
    wakeWrite = pipeEnds[1];
    stopping = false;
    return true;
}

void AlsaMidiServer::close (Lock& lock)
{
    if (seq == nullptr)
        return;

    stopping = true;
    wake();

    if (thread.joinable())
    {
        if (isBackendThread())
        {
            // Cannot wait for itself: it sees the flag and ends on its own.
            thread.detach();
            return;
        }

        lock.unlock();
        thread.join();
        lock.lock();
    }

    // Closing ends every subscription of ours.
    snd_seq_close (seq);
    ::close (wakeRead);
    ::close (wakeWrite);
    seq = nullptr;
    ownClient = announcePort = senderPort = wakeRead = wakeWrite = -1;
    table.clear();
    senderSubscriptions.clear();
}

void AlsaMidiServer::wake()
{
    if (wakeWrite >= 0)
    {
        const char byte = 0;
        [[maybe_unused]] const auto written = ::write (wakeWrite, &byte, 1); // a full pipe wakes it too
    }
}

void AlsaMidiServer::rescan()
{
    if (seq == nullptr)
        return;

    std::vector<AlsaClientInfo> found;
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_alloca (&clientInfo);
    snd_seq_port_info_alloca (&portInfo);
    snd_seq_client_info_set_client (clientInfo, -1);

    while (snd_seq_query_next_client (seq, clientInfo) >= 0)
    {
        const auto client = snd_seq_client_info_get_client (clientInfo);

        if (client == SND_SEQ_CLIENT_SYSTEM || client == ownClient)
            continue;

        AlsaClientInfo info;
        info.client = client;
        info.name = snd_seq_client_info_get_name (clientInfo);

        snd_seq_port_info_set_client (portInfo, client);
        snd_seq_port_info_set_port (portInfo, -1);

        while (snd_seq_query_next_port (seq, portInfo) >= 0)
            info.ports.push_back ({ snd_seq_port_info_get_port (portInfo), snd_seq_port_info_get_capability (portInfo),
                                    snd_seq_port_info_get_name (portInfo) });

        found.push_back (std::move (info));
    }

    table.update (found);
}

//==============================================================================
// Clients and ports

OSStatus AlsaMidiServer::createClient (const std::string& name, MIDINotifyProc notify, void* context, MIDIClientRef* outClient)
{
    if (outClient == nullptr)
        return badArgumentError;

    const std::lock_guard<std::mutex> life (lifecycle);
    Lock lock (mutex);

    if (clients.empty() && seq == nullptr && open (name))
    {
        rescan();
        thread = std::thread ([this] { run(); });
    }

    // Without a sequencer the client still exists; it simply never sees a device.
    const auto ref = table.newRef();
    clients.emplace (ref, Client { notify, context });
    *outClient = ref;
    return noErr;
}

OSStatus AlsaMidiServer::disposeClient (MIDIClientRef client)
{
    const std::lock_guard<std::mutex> life (lifecycle);
    Lock lock (mutex);

    if (clients.erase (client) == 0)
        return objectNotFoundError;

    // Its ports die with it.
    std::vector<MIDIPortRef> itsPorts;

    for (auto& [ref, port] : ports)
        if (port.client == client)
            itsPorts.push_back (ref);

    for (auto ref : itsPorts)
    {
        auto& port = ports.at (ref);

        while (! port.connections.empty())
            releaseConnection (port, port.connections.begin());

        if (seq != nullptr)
            snd_seq_delete_simple_port (seq, port.alsaPort);

        ports.erase (ref);
    }

    waitForCallbackToEnd (lock, [&]
    {
        return inFlight.client == client || std::find (itsPorts.begin(), itsPorts.end(), inFlight.port) != itsPorts.end();
    });

    if (clients.empty())
        close (lock);

    return noErr;
}

OSStatus AlsaMidiServer::createInputPort (MIDIClientRef client, const std::string& name, MIDIReadProc read, void* context, MIDIPortRef* outPort)
{
    if (outPort == nullptr || read == nullptr)
        return badArgumentError;

    const std::lock_guard<std::mutex> hold (mutex);

    if (clients.count (client) == 0)
        return objectNotFoundError;

    if (seq == nullptr)
        return serverUnavailableError;

    // Writable for our subscriptions only: nobody else connects to it.
    const auto alsaPort = snd_seq_create_simple_port (seq, name.c_str(), SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);

    if (alsaPort < 0)
        return serverUnavailableError;

    const auto ref = table.newRef();
    ports.emplace (ref, Port { client, alsaPort, read, context, {} });
    *outPort = ref;
    return noErr;
}

OSStatus AlsaMidiServer::connectSource (MIDIPortRef portRef, MIDIEndpointRef source, void* connectionContext)
{
    const std::lock_guard<std::mutex> hold (mutex);
    auto found = ports.find (portRef);

    if (found == ports.end() || seq == nullptr)
        return objectNotFoundError;

    const auto* device = table.findSource (source);

    if (device == nullptr)
        return unknownEndpointError;

    auto& port = found->second;
    const auto unit = device->entityPort;

    if (auto known = port.connections.find (unit); known != port.connections.end())
    {
        if (known->second.source == source)
        {
            known->second.context = connectionContext;
            return noErr;
        }

        // The same address, but an earlier appearance of the unit: that connection is over.
        releaseConnection (port, known);
    }

    if (snd_seq_connect_from (seq, port.alsaPort, unit.client, unit.port) < 0)
        return unknownEndpointError;

    port.connections.emplace (unit, Connection { source, connectionContext, {} });
    holdSenderSubscription (source, unit);
    return noErr;
}

OSStatus AlsaMidiServer::disconnectSource (MIDIPortRef portRef, MIDIEndpointRef source)
{
    Lock lock (mutex);
    auto found = ports.find (portRef);

    if (found == ports.end())
        return objectNotFoundError;

    auto& connections = found->second.connections;

    // A source whose unit has been unplugged since may still be disconnected.
    auto connection = std::find_if (connections.begin(), connections.end(), [source] (const auto& c) { return c.second.source == source; });

    if (connection == connections.end())
        return unknownEndpointError;

    releaseConnection (found->second, connection);
    waitForCallbackToEnd (lock, [&] { return inFlight.port == portRef; });
    return noErr;
}

OSStatus AlsaMidiServer::disposePort (MIDIPortRef portRef)
{
    Lock lock (mutex);
    auto found = ports.find (portRef);

    if (found == ports.end())
        return objectNotFoundError;

    auto& port = found->second;

    while (! port.connections.empty())
        releaseConnection (port, port.connections.begin());

    if (seq != nullptr)
        snd_seq_delete_simple_port (seq, port.alsaPort);

    ports.erase (found);
    waitForCallbackToEnd (lock, [&] { return inFlight.port == portRef; });
    return noErr;
}

void AlsaMidiServer::releaseConnection (Port& port, std::map<AlsaAddress, Connection>::iterator connection)
{
    const auto unit = connection->first;
    const auto source = connection->second.source;
    port.connections.erase (connection);

    // Fails harmlessly when the unit is gone: the sequencer has ended the subscription then.
    if (seq != nullptr)
        snd_seq_disconnect_from (seq, port.alsaPort, unit.client, unit.port);

    releaseSenderSubscription (source);
}

// A USB MIDI device's output opens only while its port has a subscriber, so our sending port
// is subscribed to a unit for as long as some port of ours listens to it. Counted by source,
// which names one appearance of the unit: a unit plugged in again has the same address, and
// the connections to its earlier appearance must neither stand for its new subscription nor
// end it.
void AlsaMidiServer::holdSenderSubscription (MIDIEndpointRef source, AlsaAddress unit)
{
    auto& subscription = senderSubscriptions[source];
    subscription.unit = unit;

    // Refused harmlessly when our earlier subscription to that address still stands.
    if (subscription.connections++ == 0)
        snd_seq_connect_to (seq, senderPort, unit.client, unit.port);
}

void AlsaMidiServer::releaseSenderSubscription (MIDIEndpointRef source)
{
    auto found = senderSubscriptions.find (source);

    if (found == senderSubscriptions.end() || --found->second.connections > 0)
        return;

    const auto unit = found->second.unit;
    senderSubscriptions.erase (found);

    const auto stillNeeded = std::any_of (senderSubscriptions.begin(), senderSubscriptions.end(),
                                          [unit] (const auto& s) { return s.second.unit == unit; });

    if (seq != nullptr && ! stillNeeded)
        snd_seq_disconnect_to (seq, senderPort, unit.client, unit.port);
}

template <typename Predicate>
void AlsaMidiServer::waitForCallbackToEnd (Lock& lock, Predicate isInFlight)
{
    // On the backend's thread, the call in flight is the caller's own.
    if (! isBackendThread())
        settled.wait (lock, [&] { return ! isInFlight(); });
}

//==============================================================================
// Devices, entities and endpoints

ItemCount AlsaMidiServer::numberOfDevices()
{
    const std::lock_guard<std::mutex> hold (mutex);
    return table.size();
}

MIDIDeviceRef AlsaMidiServer::deviceAt (ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.at (index);
    return device != nullptr ? device->device : 0;
}

bool AlsaMidiServer::deviceName (MIDIDeviceRef ref, std::string& name)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.findDevice (ref);

    if (device == nullptr)
        return false;

    name = device->name;
    return true;
}

bool AlsaMidiServer::isListedDevice (MIDIDeviceRef ref)
{
    const std::lock_guard<std::mutex> hold (mutex);
    return table.findDevice (ref) != nullptr;
}

ItemCount AlsaMidiServer::numberOfEntities (MIDIDeviceRef ref)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.findDevice (ref);
    return device != nullptr && device->entity != 0 ? 1 : 0;
}

MIDIEntityRef AlsaMidiServer::entityAt (MIDIDeviceRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.findDevice (ref);
    return device != nullptr && index == 0 ? device->entity : 0;
}

ItemCount AlsaMidiServer::numberOfEndpoints (MIDIEntityRef ref)
{
    // The entity's one port is its source and its destination.
    const std::lock_guard<std::mutex> hold (mutex);
    return table.findEntity (ref) != nullptr ? 1 : 0;
}

MIDIEndpointRef AlsaMidiServer::sourceAt (MIDIEntityRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.findEntity (ref);
    return device != nullptr && index == 0 ? device->source : 0;
}

MIDIEndpointRef AlsaMidiServer::destinationAt (MIDIEntityRef ref, ItemCount index)
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto* device = table.findEntity (ref);
    return device != nullptr && index == 0 ? device->destination : 0;
}

//==============================================================================
// Sending

OSStatus AlsaMidiServer::send (MIDISysexSendRequest* request)
{
    if (request == nullptr || request->data == nullptr || request->bytesToSend == 0 || request->completionProc == nullptr)
        return badArgumentError;

    const std::lock_guard<std::mutex> hold (mutex);

    if (seq == nullptr || stopping)
        return serverUnavailableError;

    const auto* device = table.findDestination (request->destination);

    if (device == nullptr)
        return unknownEndpointError; // unplugged, or never a destination

    // The backend's thread sends it at once and then completes it.
    sends.push_back ({ request, device->entityPort });
    wake();
    return noErr;
}

void AlsaMidiServer::sendQueued (Lock& lock)
{
    while (! sends.empty())
    {
        const auto next = sends.front();
        sends.pop_front();

        // Only this thread writes to the sequencer, so the library's output buffer needs no lock.
        lock.unlock();
        output (next);
        next.request->complete = true;
        next.request->completionProc (next.request);
        lock.lock();
    }
}

void AlsaMidiServer::output (const QueuedSend& send)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    snd_seq_ev_set_source (&event, senderPort);
    snd_seq_ev_set_dest (&event, send.destination.client, send.destination.port);
    snd_seq_ev_set_direct (&event);

    // What snd_seq_ev_set_sysex does, without its sign conversions.
    event.type = SND_SEQ_EVENT_SYSEX;
    event.flags = static_cast<unsigned char> ((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_VARIABLE);
    event.data.ext.len = send.request->bytesToSend;
    event.data.ext.ptr = const_cast<Byte*> (send.request->data);

    // A unit that reads slowly has no room for a burst (a recall is some thirty messages): the
    // message waits for room, a little. A unit that is gone refuses it; it is lost then, as on
    // a pulled cable.
    for (int waitedMs = 0;; ++waitedMs)
    {
        const auto result = snd_seq_event_output_direct (seq, &event);

        if ((result != -EAGAIN && result != -ENOMEM) || waitedMs >= outputPatienceMs)
            return;

        ::usleep (1000);
    }
}

//==============================================================================
// The backend's thread

void AlsaMidiServer::run()
{
    pthread_setname_np (pthread_self(), threadName);

    Lock lock (mutex);
    std::vector<pollfd> fds ((size_t) snd_seq_poll_descriptors_count (seq, POLLIN) + 1);
    snd_seq_poll_descriptors (seq, fds.data() + 1, (unsigned int) fds.size() - 1, POLLIN);
    fds[0] = { wakeRead, POLLIN, 0 };

    for (;;)
    {
        sendQueued (lock);

        if (stopping)
            break;

        const auto setupChanged = readEvents (lock);

        if (setupChanged)
            notifyClients (lock);

        if (stopping)
            continue; // completes what was queued meanwhile, then ends

        if (! sends.empty() || snd_seq_event_input_pending (seq, 0) > 0)
            continue;

        // Sleeps until the sequencer has something or a send or the end wakes it; nothing else.
        lock.unlock();
        ::poll (fds.data(), fds.size(), -1);

        char drained[64];
        while (::read (wakeRead, drained, sizeof (drained)) > 0) {}

        lock.lock();
    }

    sendQueued (lock);
}

bool AlsaMidiServer::readEvents (Lock& lock)
{
    auto setupChanged = false;
    auto announced = false;

    // Bounded, so that sends and the end are seen between bursts from a flooding client.
    for (int i = 0; i < 256 && ! stopping; ++i)
    {
        snd_seq_event_t* event = nullptr;
        const auto result = snd_seq_event_input (seq, &event);

        if (result == -ENOSPC)
        {
            // Our input overflowed and events were lost: no message in progress can be trusted.
            for (auto& entry : ports)
                for (auto& connection : entry.second.connections)
                    connection.second.joiner.interrupt();
            continue;
        }

        if (result < 0 || event == nullptr)
            break;

        if (event->dest.port == announcePort)
        {
            announced = true;
            setupChanged = handleAnnounce (*event) || setupChanged;
        }
        else
        {
            handleReceived (lock, *event);
        }
    }

    // Names are read anew on every announcement: a client that has just started may not
    // have set its name yet.
    if (announced)
        rescan();

    return setupChanged;
}

bool AlsaMidiServer::handleAnnounce (const snd_seq_event_t& event)
{
    if (event.source.client != SND_SEQ_CLIENT_SYSTEM || ! isSetupEvent (event.type))
        return false;

    if (event.type == SND_SEQ_EVENT_CLIENT_EXIT)
        table.clientExited (event.data.addr.client);

    return true;
}

void AlsaMidiServer::handleReceived (Lock& lock, const snd_seq_event_t& event)
{
    auto found = std::find_if (ports.begin(), ports.end(), [&] (const auto& p) { return p.second.alsaPort == event.dest.port; });

    if (found == ports.end())
        return;

    // Only what comes from a source the port is connected to; anybody may write to a port.
    const AlsaAddress from { event.source.client, event.source.port };
    auto connection = found->second.connections.find (from);

    if (connection == found->second.connections.end())
        return;

    auto& joiner = connection->second.joiner;

    if (event.type != SND_SEQ_EVENT_SYSEX)
    {
        joiner.interrupt();
        return;
    }

    std::vector<std::vector<uint8_t>> complete;
    joiner.add (static_cast<const uint8_t*> (event.data.ext.ptr), event.data.ext.len,
                [&complete] (const uint8_t* message, size_t length) { complete.emplace_back (message, message + length); });

    const auto portRef = found->first;

    for (const auto& message : complete)
        deliver (lock, portRef, from, message);
}

void AlsaMidiServer::deliver (Lock& lock, MIDIPortRef portRef, AlsaAddress source, const std::vector<uint8_t>& message)
{
    // Looked up again: an earlier call may have disposed or disconnected it.
    auto found = ports.find (portRef);

    if (found == ports.end())
        return;

    auto connection = found->second.connections.find (source);

    if (connection == found->second.connections.end())
        return;

    MIDIPacketList list {};
    list.numPackets = 1;
    list.packet[0].timeStamp = 0;
    list.packet[0].length = static_cast<UInt16> (message.size());
    std::memcpy (list.packet[0].data, message.data(), message.size());

    const auto read = found->second.read;
    auto* const context = found->second.context;
    auto* const connectionContext = connection->second.context;

    inFlight.port = portRef;
    lock.unlock();
    read (&list, context, connectionContext);
    lock.lock();
    inFlight.port = 0;
    settled.notify_all();
}

void AlsaMidiServer::notifyClients (Lock& lock)
{
    std::vector<MIDIClientRef> refs;

    for (const auto& entry : clients)
        refs.push_back (entry.first);

    const MIDINotification message { kMIDIMsgSetupChanged, sizeof (MIDINotification) };

    for (const auto ref : refs)
    {
        // Looked up again: it may have been disposed meanwhile.
        auto found = clients.find (ref);

        if (found == clients.end() || found->second.notify == nullptr)
            continue;

        const auto notify = found->second.notify;
        auto* const context = found->second.context;

        inFlight.client = ref;
        lock.unlock();
        notify (&message, context);
        lock.lock();
        inFlight.client = 0;
        settled.notify_all();
    }
}

} // namespace hv_alsa

#endif
