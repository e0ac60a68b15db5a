#include "link/MidiLRParam.h"

#include "core/Eq713kPluginInstance.h"
#include "link/Eq713kMidiBridge.h"
#include "core/ProductTable.h"
#include "support/ConnectedUnit.h"
#include "support/MessagePump.h"
#include "support/TestParamsManager.h"
#include "support/UnitSendLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using testing_support::HostEvent;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;
using testing_support::SentValue;

namespace
{

constexpr int leftId = 2;   // LO BOOST 1/STEREO
constexpr int rightId = 11; // LO BOOST 2
constexpr int loBoostNumber = 4;

MidiLRParam::ToFloat gainToFloat() { return Eq713kMidiBridge::getLambdaMidiIntToFloat (ProductTable::gainConverter); }
MidiLRParam::ToInt gainToInt() { return Eq713kMidiBridge::getLambdaMidiFloatToInt (ProductTable::gainConverter); }

std::vector<std::string> describe (const std::vector<HostEvent>& events, int index)
{
    std::vector<std::string> result;

    for (const auto& e : events)
        if (e.index == index)
            result.push_back (e.kind == HostEvent::gestureBegin ? "begin"
                              : e.kind == HostEvent::gestureEnd ? "end"
                                                                : "value " + juce::String (e.newValue).toStdString());
    return result;
}

/** LO BOOST of both channels, sending into a log, with a host that records its parameters. */
class MidiLRParamTest : public ::testing::Test
{
protected:
    MidiLRParamTest() { processor.addListener (&host); }

    ~MidiLRParamTest() override
    {
        lr.reset();
        processor.removeListener (&host);
    }

    void reportOnTheReceiveThread (int value)
    {
        std::thread ([this, value] { lr->paramMidiChanged (value); }).join();
    }

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager params { processor, 19, 4 };
    testing_support::HostRecorder host;
    testing_support::UnitSendLog unit;
    std::unique_ptr<MidiLRParam> lr = std::make_unique<MidiLRParam> (unit.sender(), params, leftId, rightId,
                                                                     loBoostNumber, gainToFloat(), gainToInt());
    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;
};

TEST_F (MidiLRParamTest, ChangesGoOutWithTheChannelFlagOfTheSelectedChannel)
{
    using Sent = std::vector<SentValue>;
    const struct { int selected; Sent afterLeft; Sent afterRight; } cases[] {
        { 0, { { 4, 125, false } }, {} },
        { 1, { { 4, 125, false } }, { { 4, 50, true } } },
        { 2, { { 4, 125, true } }, { { 4, 50, false } } },
        { 7, { { 4, 125, false } }, { { 4, 50, false } } },
    };

    for (const auto& c : cases)
    {
        lr->setSelectedChannel (c.selected);

        params.setParamValue (&editor, leftId, 0.5f);
        EXPECT_EQ (unit.take(), c.afterLeft) << "selected " << c.selected;

        params.setParamValue (&editor, rightId, 0.2f);
        EXPECT_EQ (unit.take(), c.afterRight) << "selected " << c.selected;
    }
}

TEST_F (MidiLRParamTest, AReportGoesToTheSelectedChannelsParametersAndNotBackToTheUnit)
{
    // Linked, the right parameter takes it from the stereo linker, which this store has not.
    const struct { int selected; bool locked; bool leftSet; bool rightSet; } cases[] {
        { 0, false, true, false },
        { 1, false, true, false },
        { 2, false, false, true },
        { 7, false, false, false },
        { 0, true, false, false },
    };

    for (const auto& c : cases)
    {
        params.setParamValue (lr.get(), leftId, 0.25f);
        params.setParamValue (lr.get(), rightId, 0.25f);
        lr->setSelectedChannel (c.selected);
        lr->lockReceiving (c.locked);

        reportOnTheReceiveThread (200);
        pumpPendingMessages();
        lr->lockReceiving (false); // nothing was held back to send

        EXPECT_EQ (params.getParamValue (leftId), c.leftSet ? 0.8f : 0.25f) << "selected " << c.selected << (c.locked ? ", locked" : "");
        EXPECT_EQ (params.getParamValue (rightId), c.rightSet ? 0.8f : 0.25f) << "selected " << c.selected << (c.locked ? ", locked" : "");
        EXPECT_TRUE (unit.take().empty());
    }
}

TEST_F (MidiLRParamTest, WhileLockedTheLatestValueOfEachChannelIsHeldAndSentOnUnlock)
{
    lr->setSelectedChannel (1);
    lr->lockReceiving (true);

    for (auto v : { 0.1f, 0.2f, 0.3f })
        params.setParamValue (&editor, leftId, v);
    params.setParamValue (&editor, rightId, 0.4f);
    EXPECT_TRUE (unit.take().empty());

    lr->lockReceiving (true); // locking again keeps what is held
    lr->lockReceiving (false);
    EXPECT_EQ (unit.take(), (std::vector<SentValue> { { 4, 75, false }, { 4, 100, true } }));

    lr->lockReceiving (false);
    EXPECT_TRUE (unit.take().empty());
}

TEST_F (MidiLRParamTest, SendForcedSendsTheCurrentValuesTheRightOneOnlyWhenNotLinked)
{
    params.setParamValue (lr.get(), leftId, 0.5f);
    params.setParamValue (lr.get(), rightId, 0.2f);

    lr->sendForced();
    EXPECT_EQ (unit.take(), (std::vector<SentValue> { { 4, 125, false } }));

    lr->setSelectedChannel (2);
    lr->sendForced();
    EXPECT_EQ (unit.take(), (std::vector<SentValue> { { 4, 125, true }, { 4, 50, false } }));
}

TEST_F (MidiLRParamTest, AReportedValueReachesTheStoreAndTheHostOnlyWithinZeroToOne)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const struct { int reported; float converted; float stored; } cases[] {
        { 1, 1.02f, 1.0f }, // what 255 / 250 would be
        { 2, -0.5f, 0.0f },
        { 3, nan, 0.0f },
    };

    lr = std::make_unique<MidiLRParam> (unit.sender(), params, leftId, rightId, loBoostNumber,
                                        [&cases] (int n) { return cases[n - 1].converted; }, gainToInt());
    lr->setSelectedChannel (1);

    for (const auto& c : cases)
    {
        params.setParamValue (lr.get(), leftId, 0.5f);
        lr->paramMidiChanged (c.reported);
        pumpPendingMessages();

        EXPECT_EQ (params.getParamValue (leftId), c.stored) << c.converted;
        EXPECT_EQ (params.getHostParameter (leftId)->getValue(), c.stored) << c.converted;
    }

    // And through the product's converter, from the highest byte the wire carries.
    lr = std::make_unique<MidiLRParam> (unit.sender(), params, leftId, rightId, loBoostNumber, gainToFloat(), gainToInt());
    lr->setSelectedChannel (1);
    lr->paramMidiChanged (255);
    pumpPendingMessages();
    EXPECT_EQ (params.getParamValue (leftId), 1.0f);
}

TEST_F (MidiLRParamTest, DestroyedInsideHardwareGesturesItEndsThemAtTheHost)
{
    lr->setSelectedChannel (1);
    reportOnTheReceiveThread (125);
    pumpPendingMessages();
    lr->setSelectedChannel (2);
    reportOnTheReceiveThread (50);
    pumpPendingMessages();
    ASSERT_EQ (host.count (HostEvent::gestureBegin), 2);

    lr.reset();

    EXPECT_EQ (describe (host.events, leftId), (std::vector<std::string> { "begin", "value 0.5", "end" }));
    EXPECT_EQ (describe (host.events, rightId), (std::vector<std::string> { "begin", "value 0.2", "end" }));
}

//==============================================================================
/** LO BOOST on a simulated unit, bound to the product's parameters. */
class MidiLRParamOnTheUnitTest : public testing_support::MidiWorldTest
{
protected:
    MidiLRParamOnTheUnitTest()
    {
        instance.addListener (&host);
        rig.routeReportsTo ([this] (int number, int value)
        {
            if (number == loBoostNumber)
                loBoost.paramMidiChanged (value);
        });
    }

    ~MidiLRParamOnTheUnitTest() override
    {
        rig.release();
        instance.removeListener (&host);
    }

    bool hostGesturesEnded (int count) const { return host.count (HostEvent::gestureEnd) == count; }

    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    testing_support::HostRecorder host;
    testing_support::ConnectedUnit rig;
    MidiLRParam loBoost { rig.device.get(), params, leftId, rightId, loBoostNumber, gainToFloat(), gainToInt() };
};

TEST_F (MidiLRParamOnTheUnitTest, InDualMonoAKnobTurnedOnTheUnitIsOneHostGestureAndIsNotSentBack)
{
    params.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    loBoost.setSelectedChannel (1);
    host.events.clear();

    rig.unit.turnKnob (loBoostNumber, 125);
    ASSERT_TRUE (pumpUntil ([this] { return hostGesturesEnded (1); }));

    EXPECT_EQ (describe (host.events, leftId), (std::vector<std::string> { "begin", "value 0.5", "end" }));
    EXPECT_EQ (host.events.size(), 3u);
    EXPECT_TRUE (rig.sent().empty());
}

TEST_F (MidiLRParamOnTheUnitTest, InLinkAReportReachesTheHostInsideAGestureOnBothChannelsAndIsNotSentBack)
{
    ASSERT_LT (params.getParamValue (ParamData::CHANNEL), 0.5f);
    host.events.clear();

    rig.unit.turnKnob (loBoostNumber, 125);
    ASSERT_TRUE (pumpUntil ([this] { return hostGesturesEnded (2); }));
    pumpPendingMessages();

    // The right channel takes the value through the linker's mirror of the left gesture.
    for (auto id : { leftId, rightId })
    {
        EXPECT_EQ (describe (host.events, id), (std::vector<std::string> { "begin", "value 0.5", "end" })) << id;
        EXPECT_TRUE (host.valuesOnlyInsideGestures (id)) << id;
        EXPECT_EQ (params.getParamValue (id), 0.5f) << id;
    }

    // Neither the value applied nor its mirror goes back: channel 2 is not sent while linked.
    EXPECT_TRUE (rig.sent().empty());
}

} // namespace
