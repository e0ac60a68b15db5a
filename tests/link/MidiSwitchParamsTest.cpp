#include "link/MidiSwitchParams.h"

#include "core/Eq713kPluginInstance.h"
#include "link/Eq713kMidiBridge.h"
#include "core/ProductTable.h"
#include "support/ChangeLog.h"
#include "support/MessagePump.h"
#include "support/TestParamsManager.h"
#include "support/UnitSendLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

using testing_support::HostEvent;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;
using testing_support::SentValue;

namespace
{

// LO CPS and HI KCS ATTEN of each channel.
constexpr int loCps1 = 4, loCps2 = 13, atten1 = 9, atten2 = 18;
constexpr int switchNumber = 13;

using Bridge = Eq713kMidiBridge;
using Sent = std::vector<SentValue>;

std::unique_ptr<MidiSwitchParams> makeSwitches (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params)
{
    return std::make_unique<MidiSwitchParams> (std::move (sender), params, loCps1, loCps2, switchNumber,
                                               Bridge::getLambdaMidiIntToFloat (ProductTable::loCpsConverter),
                                               Bridge::getLambdaMidiFloatToInt (ProductTable::loCpsConverter),
                                               atten1, atten2,
                                               Bridge::getLambdaMidiIntToFloat (ProductTable::hiKcsAttenConverter),
                                               Bridge::getLambdaMidiFloatToInt (ProductTable::hiKcsAttenConverter));
}

/** Channel 1 at LO CPS position 1 and HI KCS ATTEN position 2 (byte 4 | 16 = 20), channel 2
    at positions 3 and 0 (byte 1 | 64 = 65). */
class MidiSwitchParamsTest : public ::testing::Test
{
protected:
    MidiSwitchParamsTest() { resetSilently(); }

    void resetSilently()
    {
        for (auto [id, v] : { std::pair { loCps1, 1.0f / 3.0f }, { atten1, 1.0f }, { loCps2, 1.0f }, { atten2, 0.0f } })
            params.setParamValue (switches.get(), id, v);
    }

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager params { processor, 19, 4 };
    testing_support::UnitSendLog unit;
    std::unique_ptr<MidiSwitchParams> switches = makeSwitches (unit.sender(), params);
    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;
};

TEST_F (MidiSwitchParamsTest, EveryByteCarriesBothControlsOfItsChannelWithTheFlagOfTheSelection)
{
    const struct { int selected; int id; float value; SentValue sent; } cases[] {
        { 1, loCps1, 1.0f / 3.0f, { 13, 20, false } },
        { 1, atten1, 1.0f, { 13, 20, false } },
        { 1, loCps2, 1.0f, { 13, 65, true } },
        { 1, atten2, 0.0f, { 13, 65, true } },
        { 0, loCps1, 1.0f / 3.0f, { 13, 20, false } },
        { 0, atten2, 0.0f, { 13, 65, false } }, // sent while linked too
        { 2, atten1, 1.0f, { 13, 20, true } },
        { 2, loCps2, 1.0f, { 13, 65, false } },
        { 7, loCps1, 1.0f / 3.0f, { 13, 20, false } },
        { 7, loCps2, 1.0f, { 13, 65, false } },
        { 1, loCps1, 0.0f, { 13, 8 | 16, false } },
    };

    for (const auto& c : cases)
    {
        switches->setSelectedChannel (c.selected);
        params.setParamValue (&editor, c.id, c.value);
        EXPECT_EQ (unit.take(), Sent { c.sent }) << "selected " << c.selected << ", id " << c.id;
    }
}

TEST_F (MidiSwitchParamsTest, AReportedByteSetsBothControlsOfTheSelectedChannelEachFromItsBits)
{
    // Linked, channel 2 takes it from the stereo linkers, which this store has not.
    const struct { int selected; bool locked; bool channel1Set; bool channel2Set; } cases[] {
        { 1, false, true, false },
        { 0, false, true, false },
        { 2, false, false, true },
        { 7, false, false, false },
        { 0, true, false, false },
    };

    for (const auto& c : cases)
    {
        resetSilently();
        switches->setSelectedChannel (c.selected);
        switches->lockReceiving (c.locked);

        std::thread ([this] { switches->paramMidiChanged (8 | 32); }).join();
        pumpPendingMessages();
        switches->lockReceiving (false);

        EXPECT_EQ (params.getParamValue (loCps1), c.channel1Set ? 0.0f : 1.0f / 3.0f) << c.selected;
        EXPECT_EQ (params.getParamValue (atten1), c.channel1Set ? 0.5f : 1.0f) << c.selected;
        EXPECT_EQ (params.getParamValue (loCps2), c.channel2Set ? 0.0f : 1.0f) << c.selected;
        EXPECT_EQ (params.getParamValue (atten2), c.channel2Set ? 0.5f : 0.0f) << c.selected;
        EXPECT_TRUE (unit.take().empty()) << c.selected;
    }
}

TEST_F (MidiSwitchParamsTest, WhileLockedOneBytePerChannelIsHeldUntilUnlockedOrLockedAgain)
{
    switches->setSelectedChannel (1);
    switches->lockReceiving (true);
    params.setParamValue (&editor, loCps1, 0.0f);
    params.setParamValue (&editor, atten1, 0.5f);
    params.setParamValue (&editor, loCps2, 1.0f / 3.0f);
    EXPECT_TRUE (unit.take().empty());

    switches->lockReceiving (false);
    EXPECT_EQ (unit.take(), (Sent { { 13, 40, false }, { 13, 40, false }, { 13, 68, true }, { 13, 68, true } }));

    // Locking again starts afresh: the recall's full resend follows every lock.
    switches->lockReceiving (true);
    params.setParamValue (&editor, atten1, 1.0f);
    switches->lockReceiving (true);
    switches->lockReceiving (false);
    EXPECT_TRUE (unit.take().empty());
}

TEST_F (MidiSwitchParamsTest, SendForcedSendsEachChannelsByteTwiceTheRightOneOnlyWhenNotLinked)
{
    switches->sendForced();
    EXPECT_EQ (unit.take(), (Sent { { 13, 20, false }, { 13, 20, false } }));

    switches->setSelectedChannel (1);
    switches->sendForced();
    EXPECT_EQ (unit.take(), (Sent { { 13, 20, false }, { 13, 20, false }, { 13, 65, true }, { 13, 65, true } }));
}

TEST_F (MidiSwitchParamsTest, DestroyedInsideHardwareGesturesItEndsThem)
{
    testing_support::ChangeLog changes (params, { loCps1, atten1 });
    switches->setSelectedChannel (1);
    switches->paramMidiChanged (8 | 32);
    pumpPendingMessages();

    switches.reset();

    for (auto id : { loCps1, atten1 })
    {
        const auto entries = changes.forId (id);
        ASSERT_EQ (entries.size(), 3u) << id;
        EXPECT_EQ (entries[0].kind, testing_support::ChangeLog::Entry::begin) << id;
        EXPECT_EQ (entries[2].kind, testing_support::ChangeLog::Entry::end) << id;
    }
}

/** A product instance in LINK with the switch pair bound to a logged unit; both channels at
    LO CPS position 1 and HI KCS ATTEN position 2 (byte 20). */
class MidiSwitchParamsLinkedTest : public ::testing::Test
{
protected:
    MidiSwitchParamsLinkedTest()
    {
        instance.addListener (&host);

        for (auto [id, v] : { std::pair { loCps1, 1.0f / 3.0f }, { atten1, 1.0f } })
            params.setParamValue (&editor, id, v);

        pumpPendingMessages();
        unit.take();
        host.events.clear();
    }

    ~MidiSwitchParamsLinkedTest() override
    {
        switches.reset();
        instance.removeListener (&host);
    }

    Eq713kPluginInstance instance;
    juce::HvParamsManager& params = instance.getProductManager();
    testing_support::HostRecorder host;
    testing_support::UnitSendLog unit;
    std::unique_ptr<MidiSwitchParams> switches = makeSwitches (unit.sender(), params);
    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;
};

TEST_F (MidiSwitchParamsLinkedTest, AReportedByteReachesBothChannelsInsideOneGestureEachAndNothingGoesBack)
{
    std::thread ([&] { switches->paramMidiChanged (8 | 32); }).join();
    ASSERT_TRUE (pumpUntil ([&] { return host.count (HostEvent::gestureEnd) == 4; }));
    pumpPendingMessages();

    for (auto id : { loCps1, loCps2, atten1, atten2 })
    {
        for (auto kind : { HostEvent::gestureBegin, HostEvent::gestureEnd })
            EXPECT_EQ (std::count_if (host.events.begin(), host.events.end(),
                                      [id, kind] (auto& e) { return e.index == id && e.kind == kind; }), 1) << id;

        EXPECT_TRUE (host.valuesOnlyInsideGestures (id)) << id;
        EXPECT_EQ (params.getParamValue (id), id == loCps1 || id == loCps2 ? 0.0f : 0.5f) << id;
    }

    // The unit has the byte on both its linked channels already.
    EXPECT_EQ (unit.take(), Sent {});
}

TEST_F (MidiSwitchParamsLinkedTest, ASwitchChangedInThePlugInReachesBothChannelsEachByteAChosenPosition)
{
    const struct { int id; float value; int byte; } cases[] {
        { loCps1, 0.0f, 8 | 16 },
        { atten1, 0.5f, 4 | 32 },
        { loCps2, 1.0f, 1 | 16 },
        { atten2, 0.0f, 4 | 64 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id);
        params.setParamValue (&editor, c.id, c.value);
        pumpPendingMessages();

        EXPECT_EQ (unit.take(), (Sent { { 13, c.byte, false }, { 13, c.byte, false } }));

        // Back to the starting positions on both channels, as the fixture set them.
        params.setParamValue (&editor, c.id, c.id == loCps1 || c.id == loCps2 ? 1.0f / 3.0f : 1.0f);
        pumpPendingMessages();
        unit.take();
    }
}

} // namespace
