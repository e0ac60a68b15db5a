#pragma once

#include "support/midiworld/VirtualMidiWorld.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The in-process MIDI world exists only off macOS.
#if ! JUCE_MAC

namespace testing_support
{

/** A Halvorstine 713K plugged into the virtual MIDI world: one entity, one source, one
    destination. It answers the serial-number query, records everything sent to it, keeps
    its own state from the value messages addressed to it, and reports what its front panel
    does. Like the real unit it never acknowledges a value message.
*/
class SimulatedUnit
{
public:
    static constexpr int neverAnswers = -1;

    struct Options
    {
        int serialNumber = 5;
        int answerDelayMs = 0; // or neverAnswers
        VirtualMidiWorld::DeviceDescription device {};
    };

    /** Values of hardware number 14. */
    enum Selection
    {
        channel2 = 1,
        channel1 = 2,
        linked = 4
    };

    struct Received
    {
        std::vector<uint8_t> bytes;
        double sentAtMs;
        std::thread::id sender;
    };

    SimulatedUnit();
    explicit SimulatedUnit (Options options);
    ~SimulatedUnit();

    /** Waits until no call into it is running; afterwards it receives nothing. */
    void unplug();

    /** Comes back as a new device, with new references; its state is kept. */
    void plugIn();

    VirtualMidiWorld::PluggedDevice refs() const;
    MIDIDeviceRef device() const { return refs().device; }

    std::vector<Received> received() const;
    std::vector<std::vector<uint8_t>> receivedBytes() const;
    size_t receivedCount() const;
    void clearReceived();

    /** Starts linked. */
    int channelSelection() const;

    /** The value last set on channel 1 or 2, -1 when none was. */
    int value (int channel, int hardwareNumber) const;

    /** The byte of hardware number 13, which carries two switches. */
    int switchByte (int channel) const { return value (channel, 13); }

    /** Reports a value for the selected channel, as a turned knob or pressed switch does. */
    void turnKnob (int hardwareNumber, int value);

    /** Steps linked, channel 1, channel 2, linked... and reports the new selection. */
    void pressChannelButton();

    /** Reports several values in one packet list. */
    void sendValues (const std::vector<std::pair<int, int>>& numbersAndValues);

    /** Sends anything, well formed or not. */
    void sendPackets (const VirtualMidiWorld::PacketList& packets, int delayMs = 0);

    /** A report as the unit sends it. */
    static std::vector<uint8_t> report (int serialNumber, int hardwareNumber, int value, int channelFlag = 0);

private:
    void receive (const VirtualMidiWorld::SentMessage& message);
    void applyValueMessage (const std::vector<uint8_t>& bytes);
    void setOnChannels (bool otherChannel, int hardwareNumber, int value);
    void applyReport (int hardwareNumber, int value);

    const Options options;
    VirtualMidiWorld::PluggedDevice plugged;

    mutable std::mutex mutex; // its receiver runs on the world's delivery thread
    bool pluggedIn = false;
    std::vector<Received> log;
    int selection = linked;
    std::map<int, int> values[2];
};

} // namespace testing_support

#endif
