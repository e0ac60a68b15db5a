#pragma once

#include "link/platform/HvMidiPlatform.h"
#include "link/platform/alsa/AlsaDeviceTable.h"
#include "link/platform/alsa/AlsaSysexJoiner.h"

#if ! JUCE_MAC

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

struct _snd_seq;
struct snd_seq_event;

namespace hv_alsa
{

/** The process's link to the ALSA sequencer, behind the platform's MIDI calls. It opens the
    sequencer when the first client is created and closes it when the last one goes; while
    open, one thread of its own sleeps in the sequencer's poll and makes every read call,
    set-up notification and send completion.

    A device is a sequencer client (not the system client, not this process's own); see
    AlsaDeviceTable for what is listed and how references are kept. When the sequencer cannot
    be opened, clients are still made but nothing is ever listed, and nothing is logged.

    Promises: no read call is running or starts once MIDIPortDispose or
    MIDIPortDisconnectSource have returned, and no notification once MIDIClientDispose has;
    a send that was accepted completes exactly once, later, on the backend's thread, and one
    that was refused never. */
class AlsaMidiServer
{
public:
    using Ref = AlsaDeviceTable::Ref;

    static AlsaMidiServer& get();

    AlsaMidiServer() = default;
    ~AlsaMidiServer();

    OSStatus createClient (const std::string& name, MIDINotifyProc notify, void* context, MIDIClientRef* outClient);
    OSStatus disposeClient (MIDIClientRef client);
    OSStatus createInputPort (MIDIClientRef client, const std::string& name, MIDIReadProc read, void* context, MIDIPortRef* outPort);
    OSStatus connectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionContext);
    OSStatus disconnectSource (MIDIPortRef port, MIDIEndpointRef source);
    OSStatus disposePort (MIDIPortRef port);

    ItemCount numberOfDevices();
    MIDIDeviceRef deviceAt (ItemCount index);
    /** The client's name as it is now; false for an object that is not a listed device. */
    bool deviceName (MIDIDeviceRef device, std::string& name);
    bool isListedDevice (MIDIDeviceRef device);
    ItemCount numberOfEntities (MIDIDeviceRef device);
    MIDIEntityRef entityAt (MIDIDeviceRef device, ItemCount index);
    ItemCount numberOfEndpoints (MIDIEntityRef entity);
    MIDIEndpointRef sourceAt (MIDIEntityRef entity, ItemCount index);
    MIDIEndpointRef destinationAt (MIDIEntityRef entity, ItemCount index);

    OSStatus send (MIDISysexSendRequest* request);

    /** True on the backend's own thread. */
    bool isBackendThread() const;

    /** The name of the backend's thread, as the system shows it. */
    static constexpr const char* threadName = "HvAlsaMidi";

private:
    using Lock = std::unique_lock<std::mutex>;

    struct Client
    {
        MIDINotifyProc notify;
        void* context;
    };

    struct Connection
    {
        MIDIEndpointRef source;
        void* context;
        AlsaSysexJoiner joiner;
    };

    struct Port
    {
        MIDIClientRef client;
        int alsaPort;
        MIDIReadProc read;
        void* context;
        std::map<AlsaAddress, Connection> connections; // by the unit's port
    };

    struct QueuedSend
    {
        MIDISysexSendRequest* request;
        AlsaAddress destination;
    };

    /** What the backend's thread is calling out to right now. */
    struct InFlight
    {
        MIDIPortRef port = 0;
        MIDIClientRef client = 0;
    };

    bool open (const std::string& clientName);
    void close (Lock& lock);
    void rescan();
    void wake();

    void releaseConnection (Port& port, std::map<AlsaAddress, Connection>::iterator connection);
    void holdSenderSubscription (MIDIEndpointRef source, AlsaAddress unit);
    void releaseSenderSubscription (MIDIEndpointRef source);

    template <typename Predicate>
    void waitForCallbackToEnd (Lock& lock, Predicate isInFlight);

    void run();
    void sendQueued (Lock& lock);
    void output (const QueuedSend& send);
    /** Reads what the sequencer holds; true when the set-up changed. */
    bool readEvents (Lock& lock);
    bool handleAnnounce (const snd_seq_event& event);
    void handleReceived (Lock& lock, const snd_seq_event& event);
    void deliver (Lock& lock, MIDIPortRef port, AlsaAddress source, const std::vector<uint8_t>& message);
    void notifyClients (Lock& lock);

    std::mutex lifecycle; // creating and disposing clients, which open and close the sequencer
    std::mutex mutex;     // everything below
    std::condition_variable settled;

    _snd_seq* seq = nullptr;
    int ownClient = -1;
    int announcePort = -1;
    int senderPort = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    bool stopping = false;

    AlsaDeviceTable table;
    std::map<MIDIClientRef, Client> clients;
    std::map<MIDIPortRef, Port> ports;
    struct SenderSubscription
    {
        AlsaAddress unit;
        int connections = 0;
    };

    std::map<MIDIEndpointRef, SenderSubscription> senderSubscriptions; // by the unit's source
    std::deque<QueuedSend> sends;
    InFlight inFlight;

    std::thread thread;
};

} // namespace hv_alsa

#endif
