#pragma once

#include "core/CallGate.h"
#include "link/platform/HvMidiPlatform.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

namespace juce
{

/** One unit found on the platform's MIDI: listens to its source, sends to its destination,
    learns its serial number from its first reply and hands every report it accepts to the
    object that holds it. Created and destroyed by the MIDI manager only.
*/
class MidiDevice
{
public:
    /** Whoever holds a device. */
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** This device is now held by the listener, or none with null. */
        virtual void setConnectedMidiDevice (MidiDevice* device) = 0;

        /** False when the held device is lost or released, true when it has just been confirmed. */
        virtual void hidConnectionCallback (bool connected);

        /** A value the unit reported, on the platform's receive thread: store it atomically
            and post an update, nothing more. */
        virtual void paramReceived (int hardwareNumber, int value);
    };

    class Pimpl;

    /** Opens the device: creates and connects the input port, finds the destination and
        sends the serial-number query. A failed step leaves the rest undone. */
    MidiDevice (MIDIDeviceRef device, MIDIClientRef client);

    /** Disconnects and disposes the port; no receive call is running or starts afterwards. */
    virtual ~MidiDevice();

    /** Sends one value message, on the calling thread. */
    void setValue (int hardwareNumber, int value, bool otherChannel);

    /** -1 until learnt. Any thread. */
    int getSerialNumber() const noexcept { return serialNumber.load(); }

    Listener* getHolder() const noexcept { return holder.load(); }

    /** Message thread, never from inside a receive call. When it returns, no receive call
        is still inside the previous holder, so that may be deleted. */
    void setHolder (Listener* newHolder);

    MIDIDeviceRef getDeviceRef() const noexcept;

private:
    /** The receive thread's part: no allocation, no lock. */
    void handlePackets (const MIDIPacketList& packets) noexcept;
    void handlePacket (const uint8* bytes, int length) noexcept;
    void learnSerialNumber (int serial) noexcept;

    std::atomic<int> serialNumber { -1 };
    std::atomic<Listener*> holder { nullptr };

    // Releasing a holder waits for the receive calls that may still be inside it. The calls of
    // one port come one at a time; the gate is never closed.
    CallGate receiveCalls;

    std::unique_ptr<Pimpl> pimpl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiDevice)
};

} // namespace juce
