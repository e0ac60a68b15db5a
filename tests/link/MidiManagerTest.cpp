#include "link/MidiManager.h"

#include "link/UnitMessage.h"
#include "support/MessagePump.h"
#include "support/MidiWorldFixture.h"
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#if ! JUCE_MAC

using juce::MidiDevice;
using juce::MidiManager;
using testing_support::SimulatedUnit;
using testing_support::pumpFor;
using testing_support::pumpUntil;

namespace
{

/** The framework's timers may fire up to 100 ms early, so a 500 ms wait is at least this. */
constexpr double minimumWaitMs = 380.0;

/** A plug-in instance's use of the manager: register, initialise when first, unregister. */
class ManagerSession
{
public:
    ManagerSession() : manager (*MidiManager::getInstance())
    {
        manager.registerPluginInstance();

        if (! manager.isInitialised())
        {
            juce::StringArray names { "Halvorstine 713K" };
            manager.initialize (names);
        }
    }

    ~ManagerSession() { manager.unregisterPluginInstance(); }

    MidiManager& manager;
};

class RecordingHolder : public MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (MidiDevice* newDevice) override { device = newDevice; }

    void hidConnectionCallback (bool connected) override
    {
        events.push_back (connected);
        if (! connected && device != nullptr)
            stillHolderWhenToldOfLoss = device->getHolder() == this;
    }

    void paramReceived (int, int) override { ++reports; }

    MidiDevice* device = nullptr;
    std::vector<bool> events;
    bool stillHolderWhenToldOfLoss = false;
    std::atomic<int> reports { 0 };
};

class CountingListListener : public MidiManager::ConnectionListListener
{
public:
    void connectionListChanged() override { ++changes; }
    int changes = 0;
};

int listedCount (const MidiManager& manager)
{
    return manager.getConnectionList()->size();
}

std::vector<int> listedSerials (const MidiManager& manager)
{
    std::vector<int> serials;
    const auto list = manager.getConnectionList();
    for (auto* entry : *list)
        serials.push_back (entry->serialNo);
    return serials;
}

bool wasQueried (const SimulatedUnit& unit)
{
    const auto query = juce::UnitMessage::serialNumberQuery();
    for (auto& bytes : unit.receivedBytes())
        if (std::equal (bytes.begin(), bytes.end(), query.begin(), query.end()))
            return true;
    return false;
}

SimulatedUnit::Options unitWith (int serial, int answerDelayMs = 0)
{
    SimulatedUnit::Options options;
    options.serialNumber = serial;
    options.answerDelayMs = answerDelayMs;
    return options;
}

class MidiManagerTest : public testing_support::MidiWorldTest
{
protected:
    ~MidiManagerTest() override
    {
        EXPECT_EQ (MidiManager::getInstanceWithoutCreating(), nullptr) << "a test left the manager alive";
    }

    /** Runs the message thread until the list holds that many units. */
    static bool waitForListed (const MidiManager& manager, int count, int timeoutMs = 3000)
    {
        return pumpUntil ([&] { return listedCount (manager) == count; }, timeoutMs);
    }
};

TEST_F (MidiManagerTest, OnlyOnlineDevicesNamedExactlyLikeTheUnitAreOpened)
{
    const struct { const char* what; VirtualMidiWorld::DeviceDescription device; bool isUnit; } cases[] = {
        { "exact name", {}, true },
        { "other case", { "halvorstine 713K" }, false },
        { "trailing blank", { "Halvorstine 713K " }, false },
        { "non-ASCII", { "Halvorstine 713K\xC3\xA9" }, false },
        { "non-ASCII lookalike", { "Halvorst\xC3\xAEne 713K" }, false },
        { "offline", { "Halvorstine 713K", true, true }, false },
        { "name unreadable", { "Halvorstine 713K", false }, false },
        { "offline unreadable", { "Halvorstine 713K", true, false, false }, false },
    };

    std::vector<std::unique_ptr<SimulatedUnit>> units;
    for (size_t i = 0; i < std::size (cases); ++i)
    {
        auto options = unitWith (10 + (int) i);
        options.device = cases[i].device;
        units.push_back (std::make_unique<SimulatedUnit> (options));
    }

    {
        ManagerSession session;
        ASSERT_TRUE (waitForListed (session.manager, 1));
        pumpFor (200);

        EXPECT_EQ (listedSerials (session.manager), std::vector<int> { 10 });
        for (size_t i = 0; i < std::size (cases); ++i)
            EXPECT_EQ (wasQueried (*units[i]), cases[i].isUnit) << cases[i].what;
    }

    units.clear();
}

TEST_F (MidiManagerTest, AUnitIsListedAfterTheWaitAndSilentOnesAreDroppedOneATick)
{
    SimulatedUnit answering (unitWith (7));
    SimulatedUnit silent1 (unitWith (1, SimulatedUnit::neverAnswers));
    SimulatedUnit silent2 (unitWith (2, SimulatedUnit::neverAnswers));
    SimulatedUnit silent3 (unitWith (3, SimulatedUnit::neverAnswers));

    ManagerSession session;
    const auto start = juce::Time::getMillisecondCounterHiRes();

    ASSERT_TRUE (pumpUntil ([] { return VirtualMidiWorld::census().ports == 4; }));
    pumpFor (200);
    EXPECT_EQ (listedCount (session.manager), 0) << "listed before the serial wait ended";

    ASSERT_TRUE (waitForListed (session.manager, 1));
    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - start, minimumWaitMs);
    EXPECT_EQ (listedSerials (session.manager), std::vector<int> { 7 });

    // One silent unit given up per tick, 500 ms apart.
    std::vector<double> dropTimes;
    for (int ports = 3; ports > 1; --ports)
    {
        ASSERT_TRUE (pumpUntil ([ports] { return VirtualMidiWorld::census().ports == ports - 1; }, 3000));
        dropTimes.push_back (juce::Time::getMillisecondCounterHiRes());
    }
    EXPECT_GE (dropTimes[1] - dropTimes[0], minimumWaitMs);
    EXPECT_EQ (listedCount (session.manager), 1);
}

TEST_F (MidiManagerTest, ADeviceFoundDuringTheWaitPushesTheTickBack)
{
    SimulatedUnit first (unitWith (1));
    ManagerSession session;
    const auto start = juce::Time::getMillisecondCounterHiRes();

    ASSERT_TRUE (pumpUntil ([] { return VirtualMidiWorld::census().ports == 1; }));
    pumpFor (300);
    SimulatedUnit second (unitWith (2));

    ASSERT_TRUE (waitForListed (session.manager, 2));
    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - start, 300.0 + minimumWaitMs);
    EXPECT_EQ (listedSerials (session.manager), (std::vector<int> { 1, 2 }));
}

TEST_F (MidiManagerTest, ASetupChangeDuringTheWaitOpensNoSecondDevice)
{
    SimulatedUnit unit (unitWith (4, 200));
    ManagerSession session;

    ASSERT_TRUE (pumpUntil ([] { return VirtualMidiWorld::census().ports == 1; }));
    VirtualMidiWorld::postSetupChange();
    VirtualMidiWorld::postSetupChange();
    ASSERT_TRUE (waitForListed (session.manager, 1));
    VirtualMidiWorld::postSetupChange();
    pumpFor (700);

    EXPECT_EQ (listedCount (session.manager), 1);
    EXPECT_EQ (VirtualMidiWorld::census().ports, 1);
    EXPECT_EQ (unit.receivedCount(), 1u) << "queried once";
}

TEST_F (MidiManagerTest, AUnitUnpluggedDuringItsWaitIsNeverListed)
{
    SimulatedUnit unit (unitWith (9));
    ManagerSession session;

    ASSERT_TRUE (pumpUntil ([&] { return wasQueried (unit); }));
    VirtualMidiWorld::waitUntilIdle(); // its answer has arrived: the serial number is known
    unit.unplug();
    pumpFor (1200);

    EXPECT_EQ (listedCount (session.manager), 0);
    EXPECT_EQ (VirtualMidiWorld::census().ports, 0);
}

TEST_F (MidiManagerTest, ConnectRules)
{
    SimulatedUnit unitA (unitWith (21));
    SimulatedUnit unitB (unitWith (22));
    ManagerSession session;
    auto& manager = session.manager;
    ASSERT_TRUE (waitForListed (manager, 2));

    RecordingHolder first, second, third;
    int serial = -5;

    EXPECT_FALSE (manager.connectIfOneDevice (&first, serial)) << "two free units";
    EXPECT_EQ (serial, -5);
    EXPECT_FALSE (manager.connectIfSerialNo (99, &first));

    ASSERT_TRUE (manager.connectIfSerialNo (22, &first));
    ASSERT_NE (first.device, nullptr);
    EXPECT_EQ (first.device->getSerialNumber(), 22);

    EXPECT_FALSE (manager.connectIfSerialNo (22, &second)) << "held by another holder";
    ASSERT_TRUE (manager.connectIfOneDevice (&second, serial));
    EXPECT_EQ (serial, 21);
    EXPECT_FALSE (manager.connectIfOneDevice (&third, serial)) << "no free unit left";

    auto list = manager.getConnectionList();
    ASSERT_EQ (list->size(), 2);
    EXPECT_EQ ((*list)[0]->owner, &second);
    EXPECT_EQ ((*list)[0]->status, MidiManager::ConnectionStatus::inUse);
    EXPECT_EQ ((*list)[1]->owner, &first);

    manager.disconnect (&third); // holds nothing
    manager.disconnect (&first);
    EXPECT_EQ (first.events, std::vector<bool> { false });
    EXPECT_FALSE (first.stillHolderWhenToldOfLoss) << "the holder is cleared before it is told";

    list = manager.getConnectionList();
    EXPECT_EQ ((*list)[1]->owner, nullptr);
    EXPECT_EQ ((*list)[1]->status, MidiManager::ConnectionStatus::available);
    EXPECT_TRUE (manager.connectIfOneDevice (&third, serial));
    EXPECT_EQ (serial, 22);

    manager.disconnect (&second);
    manager.disconnect (&third);
}

TEST_F (MidiManagerTest, UnplugAndReplugWhileHeldAndWhileFree)
{
    SimulatedUnit held (unitWith (31));
    SimulatedUnit free (unitWith (32));
    ManagerSession session;
    auto& manager = session.manager;
    CountingListListener listListener;
    manager.addConnectionListListener (&listListener);
    ASSERT_TRUE (waitForListed (manager, 2));

    RecordingHolder holder;
    ASSERT_TRUE (manager.connectIfSerialNo (31, &holder));
    pumpUntil ([&] { return listListener.changes > 0; });
    listListener.changes = 0;

    held.unplug();
    free.unplug();
    ASSERT_TRUE (waitForListed (manager, 0));
    EXPECT_EQ (holder.events, std::vector<bool> { false });
    EXPECT_FALSE (holder.stillHolderWhenToldOfLoss);
    EXPECT_GE (listListener.changes, 1);

    held.plugIn();
    free.plugIn();
    ASSERT_TRUE (waitForListed (manager, 2));
    const auto list = manager.getConnectionList();
    for (auto* entry : *list)
        EXPECT_EQ (entry->status, MidiManager::ConnectionStatus::available) << entry->serialNo;

    manager.removeConnectionListListener (&listListener);
}

TEST_F (MidiManagerTest, AReleasedHolderGetsNoReportAfterItIsTold)
{
    SimulatedUnit unit (unitWith (41));
    ManagerSession session;
    ASSERT_TRUE (waitForListed (session.manager, 1));

    auto holder = std::make_unique<RecordingHolder>();
    ASSERT_TRUE (session.manager.connectIfOneDevice (holder.get(), *std::make_unique<int>().get()));

    for (int i = 0; i < 50; ++i)
        unit.sendValues ({ { 4, i }, { 5, i }, { 9, i } });
    ASSERT_TRUE (pumpUntil ([&] { return holder->reports.load() > 0; }));

    session.manager.disconnect (holder.get());
    const auto reportsWhenReleased = holder->reports.load();
    VirtualMidiWorld::waitUntilIdle();
    EXPECT_EQ (holder->reports.load(), reportsWhenReleased);
    holder.reset();
}

TEST_F (MidiManagerTest, ListListenersAreToldOncePerRegistrationAndRemovedCompletely)
{
    ManagerSession session;
    CountingListListener twice, once;
    session.manager.addConnectionListListener (&twice);
    session.manager.addConnectionListListener (&twice);
    session.manager.addConnectionListListener (&once);

    EXPECT_EQ (listedCount (session.manager), 0);

    SimulatedUnit unit (unitWith (51));
    ASSERT_TRUE (waitForListed (session.manager, 1));
    testing_support::pumpPendingMessages();
    EXPECT_EQ (twice.changes, 2 * once.changes);
    EXPECT_GE (once.changes, 1);

    session.manager.removeConnectionListListener (&twice);
    const auto before = twice.changes;
    unit.unplug();
    ASSERT_TRUE (waitForListed (session.manager, 0));
    testing_support::pumpPendingMessages();
    EXPECT_EQ (twice.changes, before);

    session.manager.removeConnectionListListener (&once);
}

TEST_F (MidiManagerTest, OneManagerIsSharedAndTheLastInstanceDeletesIt)
{
    SimulatedUnit unit (unitWith (61));
    auto first = std::make_unique<ManagerSession>();
    auto second = std::make_unique<ManagerSession>();
    EXPECT_EQ (&first->manager, &second->manager);
    EXPECT_EQ (first->manager.getNumPluginInstances(), 2);
    ASSERT_TRUE (waitForListed (first->manager, 1));

    RecordingHolder holder;
    ASSERT_TRUE (second->manager.connectIfSerialNo (61, &holder));

    first.reset();
    EXPECT_NE (MidiManager::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (VirtualMidiWorld::census().clients, 1);

    second.reset();
    EXPECT_EQ (MidiManager::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (VirtualMidiWorld::census().clients, 0);
    EXPECT_EQ (VirtualMidiWorld::census().ports, 0);
    EXPECT_EQ (holder.events, std::vector<bool> { false }) << "the holder is told when the manager goes";

    ManagerSession again;
    EXPECT_EQ (again.manager.getNumPluginInstances(), 1);
    EXPECT_TRUE (waitForListed (again.manager, 1)) << "a new manager scans anew";
}

TEST_F (MidiManagerTest, WithoutAClientNoUnitIsListed)
{
    SimulatedUnit unit (unitWith (71));
    VirtualMidiWorld::failNext (VirtualMidiWorld::Call::clientCreate);

    ManagerSession session;
    pumpFor (1200);

    EXPECT_EQ (listedCount (session.manager), 0);
    EXPECT_EQ (VirtualMidiWorld::census().ports, 0);
}

TEST_F (MidiManagerTest, PendingDevicesGoBeforeTheClient)
{
    SimulatedUnit silent (unitWith (81, SimulatedUnit::neverAnswers));
    {
        ManagerSession session;
        ASSERT_TRUE (pumpUntil ([] { return VirtualMidiWorld::census().ports == 1; }));
    }

    EXPECT_EQ (VirtualMidiWorld::totalBreaches(), 0) << "a port disposed after its client";
}

} // namespace

#endif
