#include "link/MidiDevice.h"

#include "link/UnitMessage.h"
#include "support/MidiWorldFixture.h"
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

using juce::MidiDevice;
using testing_support::SimulatedUnit;
using testing_support::TestMidiClient;

namespace
{

using Bytes = std::vector<uint8_t>;
using Report = std::pair<int, int>;

const Bytes query { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };

class RecordingHolder : public MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (MidiDevice*) override {}

    void paramReceived (int number, int value) override
    {
        const std::lock_guard<std::mutex> hold (mutex);
        reports.emplace_back (number, value);
        offTheDeliveryThread += VirtualMidiWorld::isDeliveryThread() ? 0 : 1;
    }

    std::vector<Report> received() const
    {
        const std::lock_guard<std::mutex> hold (mutex);
        return reports;
    }

    int callsOffTheDeliveryThread() const
    {
        const std::lock_guard<std::mutex> hold (mutex);
        return offTheDeliveryThread;
    }

private:
    mutable std::mutex mutex;
    std::vector<Report> reports;
    int offTheDeliveryThread = 0;
};

/** Lingers in every report, so that a release is likely to meet one in progress. */
class LingeringHolder : public MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (MidiDevice*) override {}

    void paramReceived (int, int) override
    {
        ++inside;
        for (int i = 0; i < 50; ++i)
            std::this_thread::yield();
        ++calls;
        --inside;
    }

    std::atomic<int> inside { 0 };
    std::atomic<int> calls { 0 };
};

/** Keeps the unit sending value reports, a few per packet list, until stopped. */
class ReportFeeder
{
public:
    explicit ReportFeeder (SimulatedUnit& unit)
        : thread ([this, &unit]
          {
              for (int i = 0; i < 100000 && running; ++i)
              {
                  unit.sendValues ({ { 4, i % 251 }, { 5, 250 }, { 16, 85 } });
                  VirtualMidiWorld::waitUntilIdle(); // keeps the queue short
              }
          })
    {
    }

    ~ReportFeeder() { stop(); }

    void stop()
    {
        running = false;

        if (thread.joinable())
            thread.join();
    }

private:
    std::atomic<bool> running { true };
    std::thread thread;
};

SimulatedUnit::Options unitWith (std::function<void (SimulatedUnit::Options&)> change)
{
    SimulatedUnit::Options options;
    change (options);
    return options;
}

class MidiDeviceTest : public testing_support::MidiWorldTest
{
protected:
    std::unique_ptr<MidiDevice> open (const SimulatedUnit& unit)
    {
        return std::make_unique<MidiDevice> (unit.device(), client.ref);
    }

    /** Opened and answered. */
    std::unique_ptr<MidiDevice> openConfirmed (SimulatedUnit& unit)
    {
        auto device = open (unit);
        EXPECT_TRUE (VirtualMidiWorld::waitUntilIdle());
        EXPECT_GE (device->getSerialNumber(), 0);
        unit.clearReceived();
        return device;
    }

    TestMidiClient client;
};

//==============================================================================
struct OpeningCase
{
    const char* name;
    std::function<void (VirtualMidiWorld::DeviceDescription&)> changeDevice;
    bool portCreationFails;
    bool withoutClient;
    int ports;
    int connections;
    bool querySent;
    bool serialLearnt;
};

TEST (MidiDeviceOpeningTest, EachFailedStepLeavesTheRestUndoneAndNothingBehind)
{
    const auto healthy = [] (VirtualMidiWorld::DeviceDescription&) {};

    const OpeningCase cases[] {
        { "healthy", healthy, false, false, 1, 1, true, true },
        { "port creation fails", healthy, true, false, 0, 0, false, false },
        { "client creation had failed", healthy, false, true, 0, 0, false, false },
        { "no entity", [] (auto& d) { d.hasEntity = false; }, false, false, 1, 0, false, false },
        { "entity not handed out", [] (auto& d) { d.entityLookupFails = true; }, false, false, 1, 0, false, false },
        { "no source", [] (auto& d) { d.hasSource = false; }, false, false, 1, 0, true, false },
        { "no destination", [] (auto& d) { d.hasDestination = false; }, false, false, 1, 1, false, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        {
            TestMidiClient client;
            SimulatedUnit unit (unitWith ([&] (auto& o) { o.serialNumber = 42; c.changeDevice (o.device); }));

            if (c.portCreationFails)
                VirtualMidiWorld::failNext (VirtualMidiWorld::Call::inputPortCreate);

            auto device = std::make_unique<MidiDevice> (unit.device(), c.withoutClient ? 0 : client.ref);
            ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

            EXPECT_EQ (VirtualMidiWorld::census().ports, c.ports);
            EXPECT_EQ (VirtualMidiWorld::census().connections, c.connections);
            EXPECT_EQ (unit.receivedBytes(), c.querySent ? std::vector<Bytes> { query } : std::vector<Bytes> {});
            EXPECT_EQ (device->getSerialNumber(), c.serialLearnt ? 42 : -1);

            if (c.querySent)
            {
                EXPECT_EQ (unit.received().front().sender, std::this_thread::get_id());
            }
        }

        // Only what was made is undone: a breach would show a port or source that never was.
        testing_support::expectWorldClean();
        VirtualMidiWorld::reset();
    }
}

TEST_F (MidiDeviceTest, WithoutDestinationTheSerialComesOnlyFromWhatTheUnitSendsUnasked)
{
    SimulatedUnit unit (unitWith ([] (auto& o) { o.device.hasDestination = false; }));
    auto device = open (unit);

    unit.sendPackets ({ { 0xf0, 0x00, 0x12, 0x34, 0x11 } });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (device->getSerialNumber(), 0x11);
}

TEST_F (MidiDeviceTest, TheSerialNumberIsLearntOnceAndNeverCheckedAfterwards)
{
    SimulatedUnit unit (unitWith ([] (auto& o) { o.serialNumber = 9; }));
    auto device = openConfirmed (unit);
    RecordingHolder holder;
    device->setHolder (&holder);

    unit.sendPackets ({ { 0xf0, 0x00, 0x12, 0x34, 0x03, 0x00, 0x04, 0x7a, 0x01, 0xf7 } });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (device->getSerialNumber(), 9);
    EXPECT_EQ (holder.received(), (std::vector<Report> { { 4, 250 } }));
    device->setHolder (nullptr);
}

TEST_F (MidiDeviceTest, AFreeDeviceLearnsItsSerialFromAReportButPassesNothingOn)
{
    SimulatedUnit unit (unitWith ([] (auto& o) { o.answerDelayMs = SimulatedUnit::neverAnswers; }));
    auto device = open (unit);

    unit.sendPackets ({ SimulatedUnit::report (7, 4, 250) });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (device->getSerialNumber(), 7);

    RecordingHolder holder;
    device->setHolder (&holder);
    unit.sendPackets ({ SimulatedUnit::report (7, 5, 10) });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (holder.received(), (std::vector<Report> { { 5, 10 } }));
    device->setHolder (nullptr);
}

TEST_F (MidiDeviceTest, ReportsOfOnePacketListReachTheHolderInOrderOnTheReceiveThread)
{
    SimulatedUnit unit;
    auto device = openConfirmed (unit);
    RecordingHolder holder;
    device->setHolder (&holder);

    unit.sendPackets ({ SimulatedUnit::report (5, 4, 250),
                        {},
                        { 0xf0, 0x00, 0x12, 0x34, 0x05 },
                        { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x00, 0x04, 0x7a },
                        SimulatedUnit::report (5, 9, 3, 0x08),
                        { 0xf0, 0x00, 0x12, 0x35, 0x05, 0x00, 0x04, 0x7a, 0x01, 0xf7 },
                        { 0x90, 0x40, 0x7f },
                        SimulatedUnit::report (5, 16, 172),
                        SimulatedUnit::report (5, 15, 64, 0x01) });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (holder.received(), (std::vector<Report> { { 4, 250 }, { 16, 172 }, { 15, 64 } }));
    EXPECT_EQ (holder.callsOffTheDeliveryThread(), 0);
    device->setHolder (nullptr);
}

//==============================================================================
TEST_F (MidiDeviceTest, AValueLeavesOnTheCallingThreadAddressedToTheUnit)
{
    SimulatedUnit unit (unitWith ([] (auto& o) { o.serialNumber = 42; }));
    auto device = openConfirmed (unit);

    std::thread::id senderId;
    std::thread sender ([&]
    {
        senderId = std::this_thread::get_id();
        device->setValue (16, 172, true);
    });
    sender.join();
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    const auto received = unit.received();
    ASSERT_EQ (received.size(), 1u);
    EXPECT_EQ (received[0].bytes, (Bytes { 0xf0, 0x00, 0x12, 0x34, 0x2a, 0x08, 0x10, 0x2c, 0x01, 0xf7 }));
    EXPECT_EQ (received[0].sender, senderId);
}

TEST_F (MidiDeviceTest, WithoutDestinationNothingIsSent)
{
    SimulatedUnit unit (unitWith ([] (auto& o) { o.device.hasDestination = false; }));
    auto device = open (unit);

    for (int value : { 0, 125, 250 })
        device->setValue (4, value, false);

    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (unit.receivedCount(), 0u);
    EXPECT_EQ (VirtualMidiWorld::census().sendsInFlight, 0);
}

TEST_F (MidiDeviceTest, AFailedSendIsLostAndTheNextOneGoesOut)
{
    SimulatedUnit unit;
    auto device = openConfirmed (unit);

    VirtualMidiWorld::failNext (VirtualMidiWorld::Call::sendSysex);
    device->setValue (4, 10, false);
    device->setValue (4, 20, false);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (unit.receivedBytes(), (std::vector<Bytes> { { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x14, 0x00, 0xf7 } }));
    EXPECT_EQ (VirtualMidiWorld::census().sendsInFlight, 0);
}

//==============================================================================
TEST_F (MidiDeviceTest, AReleasedHolderCanBeDeletedAtOnceWhileReportsKeepArriving)
{
    SimulatedUnit unit;
    auto device = openConfirmed (unit);
    ReportFeeder feeder (unit);

    for (int cycle = 0; cycle < 200; ++cycle)
    {
        auto holder = std::make_unique<LingeringHolder>();
        device->setHolder (holder.get());
        ASSERT_TRUE (testing_support::waitFor ([&] { return holder->calls > 0; }));

        device->setHolder (nullptr);
        ASSERT_EQ (holder->inside, 0) << "cycle " << cycle;
        holder.reset(); // a report still inside it would now touch freed memory
    }

    feeder.stop();
}

TEST_F (MidiDeviceTest, NoReportArrivesOnceTheDeviceIsGone)
{
    SimulatedUnit unit;
    auto device = openConfirmed (unit);
    RecordingHolder holder;
    device->setHolder (&holder);
    ReportFeeder feeder (unit);

    ASSERT_TRUE (testing_support::waitFor ([&] { return holder.received().size() >= 30; }));
    device.reset();
    const auto reportsWhileOpen = holder.received().size();

    feeder.stop();
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (holder.received().size(), reportsWhileOpen);
}

} // namespace
