#include "link/MidiChannelParam.h"

#include "link/Eq713kMidiBridge.h"
#include "core/ProductTable.h"
#include "link/MidiLRParam.h"
#include "link/MidiSwitchParams.h"
#include "support/ChangeLog.h"
#include "support/ConnectedUnit.h"
#include "support/MessagePump.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

using testing_support::pumpFor;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;

namespace
{

using Log = std::vector<std::string>;

constexpr int channelId = 0;
constexpr int selectedChannelId = 3;

class RecallListener : public MidiChannelParam::ChannelRecallingListener
{
public:
    RecallListener (Log& sharedLog, std::string listenerName) : log (sharedLog), name (std::move (listenerName)) {}

    void setSelectedChannel (int s) override
    {
        selected = s;
        log.push_back (name + " select " + std::to_string (s));
    }

    void lockReceiving (bool lock) override { log.push_back (name + (lock ? " lock" : " unlock")); }
    void sendForced() override { log.push_back (name + " forced"); }

    std::atomic<int> selected { -1 };

private:
    Log& log;
    const std::string name;
};

/** A channel parameter with two recalling listeners; what it sends goes into the same log. */
class MidiChannelParamTest : public ::testing::Test
{
protected:
    MidiChannelParamTest()
    {
        setSilently (0.0f, 0);
        channelParam.addChannelListener (&a);
        channelParam.addChannelListener (&b);
    }

    ~MidiChannelParamTest() override
    {
        channelParam.removeChannelListener (&a);
        channelParam.removeChannelListener (&b);
    }

    /** Named as the object's own change, so that it is not told. */
    void setSilently (float channel, juce::var selected)
    {
        params.setParamValue (&channelParam, channelId, channel);
        params.setNonAutomatableParamValue (&channelParam, selectedChannelId, selected);
    }

    Log sends() const
    {
        Log result;
        std::copy_if (log.begin(), log.end(), std::back_inserter (result), [] (auto& e) { return e.rfind ("send", 0) == 0; });
        return result;
    }

    bool logged (const std::string& entry) const { return std::find (log.begin(), log.end(), entry) != log.end(); }

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager params { processor, 1, 4 };
    Log log;
    RecallListener a { log, "A" };
    RecallListener b { log, "B" };
    MidiChannelParam channelParam { [this] (int number, int value, bool other)
                                    {
                                        log.push_back ("send " + std::to_string (number) + " " + std::to_string (value)
                                                       + (other ? " other" : ""));
                                    },
                                    params, channelId, selectedChannelId };

    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;
};

TEST_F (MidiChannelParamTest, TheChannelStateGoesOutAsOneHardwareValueAndSelectsTheListenersChannel)
{
    const struct { float channel; int selected; int hardware; int listenersChannel; } cases[] {
        { 0.0f, 0, 4, 0 },
        { 0.5f, 1, 4, 0 },
        { std::nextafter (0.5f, 1.0f), 0, 2, 1 },
        { 1.0f, 0, 2, 1 },
        { 1.0f, 1, 1, 2 },
        { 1.0f, 7, 1, 2 },
    };

    for (const auto& c : cases)
    {
        setSilently (c.channel, c.selected);
        log.clear();

        channelParam.sendForced();

        EXPECT_EQ (sends(), (Log { "send 14 " + std::to_string (c.hardware) })) << c.channel << ", " << c.selected;
        EXPECT_EQ (a.selected.load(), c.listenersChannel) << c.channel << ", " << c.selected;
        EXPECT_EQ (channelParam.currentHardwareChannel(), c.hardware);
    }
}

TEST_F (MidiChannelParamTest, AHardwareChannelValueSelectsTheListenersChannel)
{
    const struct { int hardware; int listenersChannel; } cases[] {
        { 0, 2 }, { 1, 2 }, { 2, 1 }, { 3, 1 }, { 4, 0 }, { 5, 0 }, { 127, 0 },
    };

    for (const auto& c : cases)
    {
        channelParam.sendSelectedChannelToListeners (c.hardware);
        EXPECT_EQ (a.selected.load(), c.listenersChannel) << c.hardware;
        EXPECT_EQ (b.selected.load(), c.listenersChannel) << c.hardware;
    }

    EXPECT_TRUE (sends().empty());
}

TEST_F (MidiChannelParamTest, TheRecallLocksSendsAndSelectsThenAfterTheWindowUnlocksAndResends)
{
    setSilently (1.0f, 1);
    channelParam.sendForced();

    EXPECT_EQ (log, (Log { "A lock", "B lock", "send 14 1", "A select 2", "B select 2" }));
    ASSERT_TRUE (channelParam.isTimerRunning (MidiChannelParam::setUpTimerId));
    EXPECT_EQ (channelParam.getTimerInterval (MidiChannelParam::setUpTimerId), 500);

    log.clear();
    channelParam.timerCallback (MidiChannelParam::setUpTimerId);
    EXPECT_FALSE (channelParam.isTimerRunning (MidiChannelParam::setUpTimerId));
    EXPECT_TRUE (log.empty()); // the listeners are told from the asynchronous update

    channelParam.handleUpdateNowIfNeeded();
    EXPECT_EQ (log, (Log { "A unlock", "B unlock", "A forced", "B forced" }));
}

TEST_F (MidiChannelParamTest, TheWindowEndsByItselfAndASecondChannelMessageRestartsIt)
{
    channelParam.sendForced();
    pumpFor (150);

    params.setParamValue (&editor, channelId, 1.0f);
    ASSERT_TRUE (pumpUntil ([this] { return sends().size() == 2; }));

    // Past the end of the first window, inside the second.
    pumpFor (425);
    EXPECT_FALSE (logged ("A unlock"));

    ASSERT_TRUE (pumpUntil ([this] { return logged ("B forced"); }));
    EXPECT_EQ (log, (Log { "A lock", "B lock", "send 14 4", "A select 0", "B select 0",
                           "A lock", "B lock", "send 14 2", "A select 1", "B select 1",
                           "A unlock", "B unlock", "A forced", "B forced" }));
}

TEST_F (MidiChannelParamTest, AReportedBandwidthEndsTheWindowAtOnceAndResendsAlsoWithoutOne)
{
    channelParam.sendForced();
    log.clear();

    std::thread ([this] { channelParam.finishSetUpAsync(); }).join();
    channelParam.handleUpdateNowIfNeeded();

    EXPECT_EQ (log, (Log { "A unlock", "B unlock", "A forced", "B forced" }));
    EXPECT_FALSE (channelParam.isTimerRunning (MidiChannelParam::setUpTimerId));

    log.clear();
    channelParam.finishSetUpAsync();
    ASSERT_TRUE (pumpUntil ([this] { return logged ("B forced"); }));
    EXPECT_EQ (log, (Log { "A unlock", "B unlock", "A forced", "B forced" }));
}

TEST_F (MidiChannelParamTest, ModeAndSelectionChangedWithinTheSendDelayGoOutAsOneMessage)
{
    params.setParamValue (&editor, channelId, 1.0f);
    params.setNonAutomatableParamValue (nullptr, selectedChannelId, 1);

    EXPECT_TRUE (sends().empty());
    ASSERT_TRUE (channelParam.isTimerRunning (MidiChannelParam::sendTimerId));
    EXPECT_EQ (channelParam.getTimerInterval (MidiChannelParam::sendTimerId), 2);

    channelParam.timerCallback (MidiChannelParam::sendTimerId);
    EXPECT_EQ (sends(), (Log { "send 14 1" }));
    EXPECT_FALSE (channelParam.isTimerRunning (MidiChannelParam::sendTimerId));

    // And by the message loop's own timer.
    params.setNonAutomatableParamValue (nullptr, selectedChannelId, 0);
    params.setParamValue (&editor, channelId, 0.0f);
    ASSERT_TRUE (pumpUntil ([this] { return sends().size() == 2; }));
    EXPECT_EQ (sends(), (Log { "send 14 1", "send 14 4" }));
    EXPECT_FALSE (channelParam.isTimerRunning (MidiChannelParam::sendTimerId));
}

TEST_F (MidiChannelParamTest, AChannelReportedByTheUnitSelectsAtOnceIsAppliedLaterAndIsNotSentBack)
{
    testing_support::ChangeLog changes (params, { channelId });

    const struct { int reported; float channel; int selected; int listenersChannel; } cases[] {
        { 0, 1.0f, 1, 2 },
        { 1, 1.0f, 1, 2 },
        { 2, 1.0f, 0, 1 },
        { 3, 0.0f, 0, 1 },
        { 4, 0.0f, 0, 0 },
        { 9, 0.0f, 0, 0 },
    };

    using Entry = testing_support::ChangeLog::Entry;
    bool first = true;

    for (const auto& c : cases)
    {
        setSilently (0.25f, 5);
        log.clear();
        changes.entries.clear();

        std::thread ([this, &c] { channelParam.paramMidiChanged (c.reported); }).join();
        EXPECT_EQ (a.selected.load(), c.listenersChannel) << c.reported;
        EXPECT_EQ (params.getParamValue (channelId), 0.25f) << c.reported;

        pumpPendingMessages();
        EXPECT_EQ (params.getParamValue (channelId), c.channel) << c.reported;
        EXPECT_EQ (params.getNonAutomatableParamValue (selectedChannelId), juce::var (c.selected)) << c.reported;
        EXPECT_FALSE (channelParam.isTimerRunning (MidiChannelParam::sendTimerId)) << c.reported;
        EXPECT_TRUE (sends().empty()) << c.reported;

        // One host gesture, begun before the first value and still open for the later ones.
        std::vector<Entry::Kind> kinds;
        for (const auto& e : changes.entries)
        {
            kinds.push_back (e.kind);
            EXPECT_EQ (e.source, &channelParam);
        }
        using Kinds = std::vector<Entry::Kind>;
        const auto expectedKinds = first ? Kinds { Entry::begin, Entry::value } : Kinds { Entry::value };
        EXPECT_EQ (kinds, expectedKinds) << c.reported;
        first = false;
    }
}

TEST_F (MidiChannelParamTest, WithoutADeviceNothingIsSentButTheListenersLearnTheSelection)
{
    MidiChannelParam withoutDevice { (juce::MidiDevice*) nullptr, params, channelId, selectedChannelId };
    RecallListener c { log, "C" };
    withoutDevice.addChannelListener (&c);
    setSilently (1.0f, 1);
    log.clear();

    withoutDevice.sendForced();

    EXPECT_EQ (log, (Log { "C select 2" }));
    EXPECT_FALSE (withoutDevice.isTimerRunning (MidiChannelParam::setUpTimerId));
    withoutDevice.removeChannelListener (&c);
}

TEST_F (MidiChannelParamTest, ListenersAreToldOnceEachInTheOrderTheyCame)
{
    RecallListener c { log, "C" };
    RecallListener absent { log, "D" };
    channelParam.addChannelListener (&a);
    channelParam.addChannelListener (&c);
    channelParam.removeChannelListener (&absent);
    channelParam.removeChannelListener (&a);

    channelParam.sendSelectedChannelToListeners (4);

    EXPECT_EQ (log, (Log { "B select 0", "C select 0" }));
    channelParam.removeChannelListener (&c);
}

//==============================================================================
using testing_support::ConnectedUnit;
using Bytes = ConnectedUnit::Bytes;

TEST (MidiChannelParamRecallTest, ConnectingSendsTheChannelFirstAndEveryValueWhenTheUnitIsReady)
{
    const auto message = ConnectedUnit::valueMessage;
    const bool other = true, selected = false;

    const struct
    {
        const char* name;
        float channel;
        int selectedChannel;
        bool endedByReport;
        int hardwareChannel;
        std::vector<Bytes> values;
        int lowBoostOnChannel1, lowBoostOnChannel2;
    } cases[] {
        { "linked, window runs out", 0.0f, 0, false, 4,
          { message (15, 64, selected), message (4, 125, selected), message (13, 20, selected), message (13, 20, selected) },
          125, 125 },
        { "dual mono channel 2, ended by a reported bandwidth", 1.0f, 1, true, 1,
          { message (15, 64, other), message (15, 0, selected),
            message (4, 125, other), message (4, 50, selected),
            message (13, 20, other), message (13, 20, other), message (13, 65, selected), message (13, 65, selected) },
          125, 50 },
    };

    using Bridge = Eq713kMidiBridge;
    const auto toFloat = [] (int c) { return Bridge::getLambdaMidiIntToFloat (c); };
    const auto toInt = [] (int c) { return Bridge::getLambdaMidiFloatToInt (c); };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        {
            testing_support::TestProcessor processor;
            testing_support::TestParamsManager params { processor, 19, 4 };

            const std::pair<int, float> values[] { { 0, c.channel }, { 1, 1.0f }, { 10, 0.0f }, { 2, 0.5f }, { 11, 0.2f },
                                                  { 4, 1.0f / 3.0f }, { 13, 1.0f }, { 9, 1.0f }, { 18, 0.0f } };
            for (auto [id, v] : values)
                params.setParamValue (nullptr, id, v);
            params.setNonAutomatableParamValue (nullptr, selectedChannelId, c.selectedChannel);

            ConnectedUnit rig;
            auto* device = rig.device.get();
            MidiChannelParam channel { device, params, channelId, selectedChannelId };
            MidiLRParam engage { device, params, 1, 10, 15, toFloat (ProductTable::engageConverter), toInt (ProductTable::engageConverter) };
            MidiLRParam loBoost { device, params, 2, 11, 4, toFloat (ProductTable::gainConverter), toInt (ProductTable::gainConverter) };
            MidiSwitchParams switches { device, params, 4, 13, 13, toFloat (ProductTable::loCpsConverter), toInt (ProductTable::loCpsConverter),
                                        9, 18, toFloat (ProductTable::hiKcsAttenConverter), toInt (ProductTable::hiKcsAttenConverter) };

            const std::vector<MidiChannelParam::ChannelRecallingListener*> recalling { &engage, &loBoost, &switches };
            for (auto* l : recalling)
                channel.addChannelListener (l);

            rig.routeReportsTo ([&channel] (int number, int) {
                if (number == 16)
                    channel.finishSetUpAsync();
            });

            channel.sendForced();
            EXPECT_EQ (rig.sent(), (std::vector<Bytes> { message (14, c.hardwareChannel, selected) }));
            EXPECT_EQ (rig.unit.channelSelection(), c.hardwareChannel);

            if (c.endedByReport)
                rig.unit.turnKnob (16, 85);

            auto expected = std::vector<Bytes> { message (14, c.hardwareChannel, selected) };
            expected.insert (expected.end(), c.values.begin(), c.values.end());

            EXPECT_TRUE (pumpUntil ([&] { return rig.unit.receivedCount() >= expected.size(); }));
            EXPECT_EQ (rig.sent(), expected);
            EXPECT_EQ (rig.unit.value (1, 4), c.lowBoostOnChannel1);
            EXPECT_EQ (rig.unit.value (2, 4), c.lowBoostOnChannel2);

            rig.release();
            for (auto* l : recalling)
                channel.removeChannelListener (l);
        }

        testing_support::expectWorldClean();
        VirtualMidiWorld::reset();
    }
}

} // namespace
