#include "support/SimulatedUnit.h"

#include "link/UnitMessage.h"

#include <algorithm>

// The in-process MIDI world exists only off macOS.
#if ! JUCE_MAC

namespace testing_support
{

namespace
{

bool isSerialNumberQuery (const std::vector<uint8_t>& bytes)
{
    const auto query = juce::UnitMessage::serialNumberQuery();
    return std::equal (bytes.begin(), bytes.end(), query.begin(), query.end());
}

std::vector<uint8_t> answer (int serialNumber)
{
    return { 0xf0, 0x00, 0x12, 0x34, static_cast<uint8_t> (serialNumber & 0xff), 0x00, 0x04, 0xf7 };
}

} // namespace

SimulatedUnit::SimulatedUnit() : SimulatedUnit (Options {})
{
}

SimulatedUnit::SimulatedUnit (Options unitOptions)
    : options (std::move (unitOptions))
{
    plugIn();
}

SimulatedUnit::~SimulatedUnit()
{
    unplug();
}

void SimulatedUnit::unplug()
{
    MIDIDeviceRef leaving = 0;
    {
        const std::lock_guard<std::mutex> hold (mutex);

        if (! pluggedIn)
            return;

        pluggedIn = false;
        leaving = plugged.device;
    }

    // Not under the lock: this waits for a running call into receive().
    VirtualMidiWorld::unplug (leaving);
}

void SimulatedUnit::plugIn()
{
    // Held throughout, so that a message sent to the new destination finds its references.
    const std::lock_guard<std::mutex> hold (mutex);

    if (pluggedIn)
        return;

    plugged = VirtualMidiWorld::plugIn (options.device, [this] (const VirtualMidiWorld::SentMessage& m) { receive (m); });
    pluggedIn = true;
}

VirtualMidiWorld::PluggedDevice SimulatedUnit::refs() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return plugged;
}

std::vector<SimulatedUnit::Received> SimulatedUnit::received() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return log;
}

std::vector<std::vector<uint8_t>> SimulatedUnit::receivedBytes() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    std::vector<std::vector<uint8_t>> result;

    for (const auto& entry : log)
        result.push_back (entry.bytes);

    return result;
}

size_t SimulatedUnit::receivedCount() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return log.size();
}

void SimulatedUnit::clearReceived()
{
    const std::lock_guard<std::mutex> hold (mutex);
    log.clear();
}

int SimulatedUnit::channelSelection() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return selection;
}

int SimulatedUnit::value (int channel, int hardwareNumber) const
{
    const std::lock_guard<std::mutex> hold (mutex);
    const auto& channelValues = values[channel == 2 ? 1 : 0];
    const auto found = channelValues.find (hardwareNumber);
    return found != channelValues.end() ? found->second : -1;
}

void SimulatedUnit::receive (const VirtualMidiWorld::SentMessage& message)
{
    const std::lock_guard<std::mutex> hold (mutex);
    log.push_back ({ message.bytes, message.sentAtMs, message.sender });

    if (isSerialNumberQuery (message.bytes))
    {
        if (options.answerDelayMs != neverAnswers)
            VirtualMidiWorld::emit (plugged.source, { answer (options.serialNumber) }, options.answerDelayMs);

        return;
    }

    applyValueMessage (message.bytes);
}

void SimulatedUnit::applyValueMessage (const std::vector<uint8_t>& bytes)
{
    const auto addressedToThisUnit = bytes.size() == juce::UnitMessage::valueLength
                                  && juce::UnitMessage::isUnitMessage (bytes.data(), (int) bytes.size())
                                  && bytes[4] == (options.serialNumber & 0x7f)
                                  && (bytes[5] == 0x01 || bytes[5] == 0x08)
                                  && bytes[9] == 0xf7;
    if (! addressedToThisUnit)
        return;

    const int number = bytes[6];
    const int value = bytes[8] * 128 + bytes[7];

    if (number == 14)
    {
        if (value == linked || value == channel1 || value == channel2)
            selection = value;

        return;
    }

    setOnChannels (bytes[5] == 0x08, number, value);
}

void SimulatedUnit::setOnChannels (bool otherChannel, int hardwareNumber, int value)
{
    // Linked, both channels move together whichever channel a message names.
    if (selection == linked)
    {
        values[0][hardwareNumber] = value;
        values[1][hardwareNumber] = value;
        return;
    }

    const auto selectedIndex = selection == channel1 ? 0 : 1;
    values[otherChannel ? 1 - selectedIndex : selectedIndex][hardwareNumber] = value;
}

void SimulatedUnit::applyReport (int hardwareNumber, int value)
{
    if (hardwareNumber == 14)
        selection = value;
    else
        setOnChannels (false, hardwareNumber, value);
}

void SimulatedUnit::turnKnob (int hardwareNumber, int value)
{
    sendValues ({ { hardwareNumber, value } });
}

void SimulatedUnit::pressChannelButton()
{
    int next = linked;
    {
        const std::lock_guard<std::mutex> hold (mutex);
        next = selection == linked ? channel1 : (selection == channel1 ? channel2 : linked);
    }

    sendValues ({ { 14, next } });
}

void SimulatedUnit::sendValues (const std::vector<std::pair<int, int>>& numbersAndValues)
{
    VirtualMidiWorld::PacketList packets;
    {
        const std::lock_guard<std::mutex> hold (mutex);

        for (const auto& [number, value] : numbersAndValues)
        {
            applyReport (number, value);
            packets.push_back (report (options.serialNumber, number, value));
        }
    }

    sendPackets (packets);
}

void SimulatedUnit::sendPackets (const VirtualMidiWorld::PacketList& packets, int delayMs)
{
    VirtualMidiWorld::emit (refs().source, packets, delayMs);
}

std::vector<uint8_t> SimulatedUnit::report (int serialNumber, int hardwareNumber, int value, int channelFlag)
{
    return { 0xf0, 0x00, 0x12, 0x34,
             static_cast<uint8_t> (serialNumber & 0x7f),
             static_cast<uint8_t> (channelFlag),
             static_cast<uint8_t> (hardwareNumber & 0x7f),
             static_cast<uint8_t> (value & 0x7f),
             static_cast<uint8_t> ((value >> 7) & 0x7f),
             0xf7 };
}

} // namespace testing_support

#endif
