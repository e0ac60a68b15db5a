#pragma once

#include "link/MidiDevice.h"
#include "link/UnitMessage.h"
#include "support/MidiWorldFixture.h"
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#if ! JUCE_MAC

namespace testing_support
{

/** A simulated unit behind an opened and confirmed device, holding the device itself so
    that the unit's reports reach whatever route it is given, on the receive thread.
    Call release() before the objects the route reaches go. */
class ConnectedUnit : public juce::MidiDevice::Listener
{
public:
    using Bytes = std::vector<uint8_t>;
    using Route = std::function<void (int hardwareNumber, int value)>;

    ConnectedUnit()
        : device (std::make_unique<juce::MidiDevice> (unit.device(), client.ref))
    {
        EXPECT_TRUE (VirtualMidiWorld::waitUntilIdle());
        EXPECT_EQ (device->getSerialNumber(), serialNumber);
        unit.clearReceived();
    }

    ~ConnectedUnit() override { release(); }

    /** Message thread, before any report is expected. */
    void routeReportsTo (Route newRoute)
    {
        route = std::move (newRoute);
        device->setHolder (this);
    }

    /** Waits for a report being routed; none arrives afterwards. */
    void release() { device->setHolder (nullptr); }

    /** Everything the unit was sent since it answered, once the world is idle. */
    std::vector<Bytes> sent()
    {
        EXPECT_TRUE (VirtualMidiWorld::waitUntilIdle());
        return unit.receivedBytes();
    }

    static Bytes valueMessage (int hardwareNumber, int value, bool otherChannel)
    {
        const auto m = juce::UnitMessage::valueMessage (serialNumber, hardwareNumber, value, otherChannel);
        return Bytes (m.begin(), m.end());
    }

    void setConnectedMidiDevice (juce::MidiDevice*) override {}

    void paramReceived (int hardwareNumber, int value) override
    {
        if (route)
            route (hardwareNumber, value);
    }

    static constexpr int serialNumber = 5;

    /** Named so that the MIDI manager of a plug-in instance in the same test leaves it alone. */
    static SimulatedUnit::Options rigOptions()
    {
        SimulatedUnit::Options options;
        options.serialNumber = serialNumber;
        options.device.name = "Test rig 713K";
        return options;
    }

    TestMidiClient client;
    SimulatedUnit unit { rigOptions() };
    std::unique_ptr<juce::MidiDevice> device;

private:
    Route route;
};

} // namespace testing_support

#endif
