#include "support/SimulatedUnit.h"

#include "link/MidiDevice.h"
#include "support/MidiWorldFixture.h"

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

using juce::MidiDevice;
using testing_support::SimulatedUnit;
using testing_support::TestMidiClient;

namespace
{

using Report = std::pair<int, int>;

class RecordingHolder : public MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (MidiDevice*) override {}

    void paramReceived (int number, int value) override
    {
        const std::lock_guard<std::mutex> hold (mutex);
        reports.emplace_back (number, value);
    }

    std::vector<Report> received() const
    {
        const std::lock_guard<std::mutex> hold (mutex);
        return reports;
    }

private:
    mutable std::mutex mutex;
    std::vector<Report> reports;
};

class SimulatedUnitTest : public testing_support::MidiWorldTest
{
protected:
    std::unique_ptr<MidiDevice> open (const SimulatedUnit& unit)
    {
        return std::make_unique<MidiDevice> (unit.device(), client.ref);
    }

    static SimulatedUnit::Options answering (int serialNumber, int delayMs)
    {
        SimulatedUnit::Options options;
        options.serialNumber = serialNumber;
        options.answerDelayMs = delayMs;
        return options;
    }

    TestMidiClient client;
};

TEST_F (SimulatedUnitTest, AnswersTheQueryWithItsSerialAfterItsDelayOrNever)
{
    SimulatedUnit late (answering (77, 40));
    SimulatedUnit silent (answering (78, SimulatedUnit::neverAnswers));

    const auto openedAt = juce::Time::getMillisecondCounterHiRes();
    auto lateDevice = open (late);
    auto silentDevice = open (silent);

    ASSERT_TRUE (testing_support::waitFor ([&] { return lateDevice->getSerialNumber() >= 0; }));
    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - openedAt, 40.0);
    EXPECT_EQ (lateDevice->getSerialNumber(), 77);

    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (silentDevice->getSerialNumber(), -1);
    EXPECT_EQ (silent.receivedCount(), 1u) << "it heard the query";
}

TEST_F (SimulatedUnitTest, ComesBackAsANewDeviceThatAnswersAgain)
{
    SimulatedUnit unit (answering (33, 0));
    const auto first = unit.device();
    unit.unplug();
    EXPECT_EQ (MIDIGetNumberOfDevices(), 0u);

    unit.plugIn();
    ASSERT_EQ (MIDIGetNumberOfDevices(), 1u);
    EXPECT_NE (unit.device(), first);
    EXPECT_EQ (MIDIGetDevice (0), unit.device());

    auto device = open (unit);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (device->getSerialNumber(), 33);
}

struct Sent
{
    int number;
    int value;
    bool otherChannel;
};

struct StateCase
{
    const char* name;
    bool answers;
    std::vector<Sent> sent;
    int selection;
    int channel1LoBoost;
    int channel2LoBoost;
    int channel1Switches;
    int channel2Switches;
};

TEST_F (SimulatedUnitTest, KeepsItsStateFromTheValueMessagesAddressedToIt)
{
    const StateCase cases[] {
        { "linked: both channels", true, { { 4, 100, false }, { 13, 0x14, false } }, SimulatedUnit::linked, 100, 100, 0x14, 0x14 },
        { "channel 1 selected", true, { { 14, 2, false }, { 4, 10, false }, { 4, 20, true }, { 13, 0x21, false } },
          SimulatedUnit::channel1, 10, 20, 0x21, -1 },
        { "channel 2 selected", true, { { 14, 1, false }, { 4, 30, false }, { 4, 40, true }, { 13, 0x48, true } },
          SimulatedUnit::channel2, 40, 30, 0x48, -1 },
        { "an unknown selection is not taken", true, { { 14, 3, false } }, SimulatedUnit::linked, -1, -1, -1, -1 },
        { "not addressed to it", false, { { 14, 2, false }, { 4, 10, false } }, SimulatedUnit::linked, -1, -1, -1, -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        SimulatedUnit unit (answering (5, c.answers ? 0 : SimulatedUnit::neverAnswers));
        auto device = open (unit);
        ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

        for (const auto& s : c.sent)
            device->setValue (s.number, s.value, s.otherChannel);

        ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
        EXPECT_EQ (unit.receivedCount(), c.sent.size() + 1);
        EXPECT_EQ (unit.channelSelection(), c.selection);
        EXPECT_EQ (unit.value (1, 4), c.channel1LoBoost);
        EXPECT_EQ (unit.value (2, 4), c.channel2LoBoost);
        EXPECT_EQ (unit.switchByte (1), c.channel1Switches);
        EXPECT_EQ (unit.switchByte (2), c.channel2Switches);
    }
}

TEST_F (SimulatedUnitTest, ReportsItsFrontPanelButNeverAcknowledges)
{
    SimulatedUnit unit;
    auto device = open (unit);
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());
    RecordingHolder holder;
    device->setHolder (&holder);

    device->setValue (4, 50, false);
    unit.pressChannelButton();
    unit.turnKnob (5, 200);
    unit.pressChannelButton();
    unit.pressChannelButton();
    unit.sendValues ({ { 9, 1 }, { 10, 2 } });
    ASSERT_TRUE (VirtualMidiWorld::waitUntilIdle());

    EXPECT_EQ (holder.received(), (std::vector<Report> { { 14, 2 }, { 5, 200 }, { 14, 1 }, { 14, 4 }, { 9, 1 }, { 10, 2 } }));
    EXPECT_EQ (unit.value (1, 5), 200);
    EXPECT_EQ (unit.value (2, 5), -1);
    EXPECT_EQ (unit.value (2, 9), 1);
    device->setHolder (nullptr);
}

} // namespace
