#include "link/MidiDevice.h"

#include "link/UnitMessage.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace juce
{

namespace
{
constexpr const char* inputPortName = "Halvorstine Remote MIDI Input";
}

//==============================================================================
/** The platform side of a device. */
class MidiDevice::Pimpl
{
public:
    Pimpl (MIDIDeviceRef deviceRef, MidiDevice& owningDevice)
        : device (deviceRef), ownerDevice (owningDevice)
    {
    }

    ~Pimpl()
    {
        if (inputPort == 0)
            return;

        if (source != 0)
            MIDIPortDisconnectSource (inputPort, source);

        MIDIPortDispose (inputPort);
    }

    void open (MIDIClientRef client)
    {
        if (! createInputPort (client))
            return;

        const auto entity = firstEntity();

        if (entity == 0)
            return;

        const auto numSources = MIDIEntityGetNumberOfSources (entity);
        const auto numDestinations = MIDIEntityGetNumberOfDestinations (entity);

        if (numSources > 0)
            connectSource (MIDIEntityGetSource (entity, 0));

        if (numDestinations > 0)
            destination = MIDIEntityGetDestination (entity, 0);

        const auto query = UnitMessage::serialNumberQuery();
        sendSysEx (query.data(), (int) query.size());
    }

    /** Sends asynchronously; the caller may discard its bytes once this returns. */
    void sendSysEx (const unsigned char* bytes, int length)
    {
        if (destination == 0 || bytes == nullptr || length <= 0)
            return;

        // One block: the request followed by its own copy of the bytes, freed on completion.
        auto* block = static_cast<unsigned char*> (std::malloc (sizeof (MIDISysexSendRequest) + (size_t) length));

        if (block == nullptr)
            return;

        auto* data = block + sizeof (MIDISysexSendRequest);
        std::memcpy (data, bytes, (size_t) length);

        auto* request = new (block) MIDISysexSendRequest {};
        request->destination = destination;
        request->data = data;
        request->bytesToSend = (UInt32) length;
        request->complete = false;
        request->completionProc = MIDISendingComplete;
        request->completionRefCon = block;

        if (MIDISendSysex (request) != noErr)
            std::free (block); // never completed: nothing else will free it
    }

    static void MIDISendingComplete (MIDISysexSendRequest* request)
    {
        std::free (request->completionRefCon);
    }

    static void MIDIReceiveCallback (const MIDIPacketList* packets, void* readContext, void*)
    {
        if (readContext != nullptr && packets != nullptr)
            static_cast<Pimpl*> (readContext)->ownerDevice.handlePackets (*packets);
    }

    MIDIDeviceRef getDevice() const noexcept { return device; }

private:
    bool createInputPort (MIDIClientRef client)
    {
        auto name = CFStringCreateWithCString (kCFAllocatorDefault, inputPortName, kCFStringEncodingASCII);
        const auto result = MIDIInputPortCreate (client, name, MIDIReceiveCallback, this, &inputPort);

        if (name != nullptr)
            CFRelease (name);

        if (result != noErr)
            inputPort = 0;

        return inputPort != 0;
    }

    MIDIEntityRef firstEntity() const
    {
        return MIDIDeviceGetNumberOfEntities (device) > 0 ? MIDIDeviceGetEntity (device, 0) : 0;
    }

    void connectSource (MIDIEndpointRef candidate)
    {
        // Kept only once connected, so that only a connected source is ever disconnected.
        if (candidate != 0 && MIDIPortConnectSource (inputPort, candidate, nullptr) == noErr)
            source = candidate;
    }

    const MIDIDeviceRef device;
    MIDIPortRef inputPort = 0;
    MIDIEndpointRef source = 0;
    MIDIEndpointRef destination = 0;
    MidiDevice& ownerDevice;

    JUCE_DECLARE_NON_COPYABLE (Pimpl)
};

//==============================================================================
void MidiDevice::Listener::hidConnectionCallback (bool) {}
void MidiDevice::Listener::paramReceived (int, int) {}

//==============================================================================
MidiDevice::MidiDevice (MIDIDeviceRef device, MIDIClientRef client)
    : pimpl (std::make_unique<Pimpl> (device, *this))
{
    pimpl->open (client);
}

MidiDevice::~MidiDevice()
{
    // The port goes first, while the members its last receive call reads still exist.
    pimpl.reset();
}

MIDIDeviceRef MidiDevice::getDeviceRef() const noexcept
{
    return pimpl->getDevice();
}

void MidiDevice::setValue (int hardwareNumber, int value, bool otherChannel)
{
    const auto message = UnitMessage::valueMessage (getSerialNumber(), hardwareNumber, value, otherChannel);
    pimpl->sendSysEx (message.data(), (int) message.size());
}

void MidiDevice::setHolder (Listener* newHolder)
{
    auto* previous = holder.exchange (newHolder);

    // Every call that may have read the previous holder began before this wait.
    if (previous != nullptr && previous != newHolder)
        receiveCalls.waitForCallsInside();
}

void MidiDevice::handlePackets (const MIDIPacketList& packets) noexcept
{
    const auto entry = receiveCalls.enter();

    const auto* packet = &packets.packet[0];

    for (UInt32 i = 0; i < packets.numPackets; ++i)
    {
        if (i > 0)
            packet = MIDIPacketNext (packet);

        if (packet->length > 0)
            handlePacket (packet->data, packet->length);
    }
}

void MidiDevice::handlePacket (const uint8* bytes, int length) noexcept
{
    if (! UnitMessage::isUnitMessage (bytes, length))
        return;

    learnSerialNumber (UnitMessage::serialNumberOf (bytes));

    auto* current = holder.load();

    if (current == nullptr)
        return;

    if (const auto report = UnitMessage::readReport (bytes, length))
        current->paramReceived (report->number, report->value);
}

void MidiDevice::learnSerialNumber (int serial) noexcept
{
    // Learnt once, from the first reply, and never replaced.
    auto unknown = -1;
    serialNumber.compare_exchange_strong (unknown, serial);
}

} // namespace juce
