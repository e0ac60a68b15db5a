#include "core/CommandManager.h"
#include "core/Ids.h"

#include "support/MessagePump.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using juce::CommandListener;
using juce::CommandManager;
using juce::HvCommand;

namespace
{

/** Deliveries, fallbacks and deletions of every command, in the order they happened. */
using Log = std::vector<std::string>;

class LoggedCommand : public HvCommand
{
public:
    LoggedCommand (const juce::Identifier& commandId, Log& sharedLog) : HvCommand (commandId), log (sharedLog) {}
    ~LoggedCommand() override { log.push_back ("deleted " + id.toString().toStdString()); }

private:
    Log& log;
};

class LoggingListener : public CommandListener
{
public:
    LoggingListener (std::string listenerName, Log& sharedLog) : name (std::move (listenerName)), log (sharedLog) {}

    bool commandListenerCallback (HvCommand* command) override
    {
        log.push_back (name + " " + command->id.toString().toStdString());
        if (onCommand)
            onCommand (*command);
        return takes;
    }

    std::string name;
    Log& log;
    bool takes = false;
    std::function<void (HvCommand&)> onCommand;
};

class LoggingManager : public CommandManager
{
public:
    explicit LoggingManager (Log& sharedLog) : log (sharedLog) {}

    void commandFallback (std::unique_ptr<HvCommand> command) override
    {
        log.push_back ("fallback " + command->id.toString().toStdString());
        if (keepsFallbackCommands)
            kept.push_back (std::move (command));
    }

    Log& log;
    bool keepsFallbackCommands = false;
    std::vector<std::unique_ptr<HvCommand>> kept;
};

class CommandManagerTest : public ::testing::Test
{
protected:
    void send (const juce::Identifier& id) { manager->sendCommand (std::make_unique<LoggedCommand> (id, log)); }

    /** Runs the message thread until the log has the given number of entries. */
    bool pumpUntilLogSize (size_t size)
    {
        return testing_support::pumpUntil ([&] { return log.size() >= size; });
    }

    Log log;
    std::unique_ptr<LoggingManager> manager = std::make_unique<LoggingManager> (log);
};

TEST_F (CommandManagerTest, DeliversOldestFirstOnePerCallbackAndLaterSentCommandsAfterwards)
{
    LoggingListener listener ("menu", log);
    listener.onCommand = [&] (HvCommand& command)
    {
        if (command.id == Ids::hvEq713k::loadPreset)
            send (Ids::hvEq713k::showDeviceSelector);
    };
    manager->addCommandListener (&listener);

    send (Ids::hvEq713k::loadPreset);
    send (Ids::hvEq713k::savePreset);
    // Posted after the queue's own callback: it runs between the first and second delivery
    // only if a callback delivers a single command.
    juce::MessageManager::callAsync ([&] { log.push_back ("marker"); });
    EXPECT_TRUE (log.empty()) << "delivered from inside sendCommand";

    ASSERT_TRUE (pumpUntilLogSize (10));
    EXPECT_EQ (log, (Log { "menu loadPreset", "fallback loadPreset", "deleted loadPreset",
                           "marker",
                           "menu savePreset", "fallback savePreset", "deleted savePreset",
                           "menu showDeviceSelector", "fallback showDeviceSelector", "deleted showDeviceSelector" }));

    manager->removeCommandListener (&listener);
}

struct WalkCase
{
    bool firstTakes;
    bool secondTakes;
    Log expected;
};

TEST_F (CommandManagerTest, AsksNewestListenerFirstAndStopsAtTheFirstTakerElseFallsBack)
{
    const std::vector<WalkCase> cases {
        { false, false, { "second savePreset", "first savePreset", "fallback savePreset", "deleted savePreset" } },
        { true, false, { "second savePreset", "first savePreset", "deleted savePreset" } },
        { false, true, { "second savePreset", "deleted savePreset" } },
        { true, true, { "second savePreset", "deleted savePreset" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("first takes " + std::to_string (c.firstTakes) + ", second takes " + std::to_string (c.secondTakes));
        log.clear();
        LoggingListener first ("first", log), second ("second", log);
        first.takes = c.firstTakes;
        second.takes = c.secondTakes;
        manager->addCommandListener (&first);
        manager->addCommandListener (&second);
        manager->addCommandListener (&first); // already registered: stays the older one, asked once

        send (Ids::hvEq713k::savePreset);
        ASSERT_TRUE (pumpUntilLogSize (c.expected.size()));
        testing_support::pumpPendingMessages();
        EXPECT_EQ (log, c.expected);

        manager->removeCommandListener (&second);
        manager->removeCommandListener (&first);
    }
}

TEST_F (CommandManagerTest, FallbackTakesWhatNoListenerTookAndMayKeepIt)
{
    manager->keepsFallbackCommands = true;
    LoggingListener removed ("removed", log);
    manager->addCommandListener (&removed);
    manager->removeCommandListener (&removed);

    send (Ids::hvEq713k::showDeviceSelector);
    ASSERT_TRUE (pumpUntilLogSize (1));
    testing_support::pumpPendingMessages();

    EXPECT_EQ (log, (Log { "fallback showDeviceSelector" }));
    ASSERT_EQ (manager->kept.size(), 1u);
    EXPECT_EQ (manager->kept.front()->id, Ids::hvEq713k::showDeviceSelector);

    manager->kept.clear();
    EXPECT_EQ (log.back(), "deleted showDeviceSelector");
}

struct RemovalCase
{
    std::string removedByNewest;
    Log expected;
};

TEST_F (CommandManagerTest, ListenerRemovedDuringTheWalkIsNotAskedAndNobodyIsAskedTwice)
{
    const std::vector<RemovalCase> cases {
        { "newest", { "newest loadPreset", "middle loadPreset", "oldest loadPreset" } },
        { "middle", { "newest loadPreset", "oldest loadPreset" } },
        { "oldest", { "newest loadPreset", "middle loadPreset" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("newest removes " + c.removedByNewest);
        log.clear();
        LoggingListener oldest ("oldest", log), middle ("middle", log), newest ("newest", log);
        LoggingListener* byName[] { &oldest, &middle, &newest };
        for (auto* l : byName)
            manager->addCommandListener (l);

        newest.onCommand = [&] (HvCommand&)
        {
            for (auto* l : byName)
                if (l->name == c.removedByNewest)
                    manager->removeCommandListener (l);
        };

        send (Ids::hvEq713k::loadPreset);
        ASSERT_TRUE (pumpUntilLogSize (c.expected.size() + 2));
        testing_support::pumpPendingMessages();

        auto expected = c.expected;
        expected.push_back ("fallback loadPreset");
        expected.push_back ("deleted loadPreset");
        EXPECT_EQ (log, expected);

        for (auto* l : byName)
            manager->removeCommandListener (l);
    }
}

TEST_F (CommandManagerTest, DestructionDeletesQueuedCommandsUndelivered)
{
    LoggingListener listener ("menu", log);
    listener.takes = true;
    manager->addCommandListener (&listener);

    send (Ids::hvEq713k::loadPreset);
    send (Ids::hvEq713k::savePreset);
    manager.reset();

    EXPECT_THAT (log, ::testing::UnorderedElementsAre ("deleted loadPreset", "deleted savePreset"));

    // The cancelled callback must not reach the dead manager.
    testing_support::pumpPendingMessages();
    EXPECT_EQ (log.size(), 2u);
}

} // namespace

// A host on Linux builds and deletes editors on its own thread while it holds the message
// thread still: their menu bars join and leave the queue from there.
TEST_F (CommandManagerTest, ListenersJoinAndLeaveFromAThreadThatHoldsTheMessageThread)
{
    LoggingListener listener ("menu", log);
    listener.takes = true;
    std::atomic<int> step { 0 };

    std::thread host ([&]
    {
        {
            const juce::MessageManagerLock holdingTheMessageThread;
            manager->addCommandListener (&listener);
        }

        step = 1;

        while (step.load() != 2)
            std::this_thread::yield();

        {
            const juce::MessageManagerLock holdingTheMessageThread;
            manager->removeCommandListener (&listener);
        }

        step = 3;
    });

    // The message thread goes on while the host thread waits for it.
    EXPECT_TRUE (testing_support::pumpUntil ([&] { return step.load() == 1; }));
    send (Ids::hvEq713k::showDeviceSelector);
    EXPECT_TRUE (pumpUntilLogSize (2));

    step = 2;
    EXPECT_TRUE (testing_support::pumpUntil ([&] { return step.load() == 3; }));
    host.join();

    send (Ids::hvEq713k::loadPreset);
    ASSERT_TRUE (pumpUntilLogSize (4));
    EXPECT_EQ (log, (Log { "menu showDeviceSelector", "deleted showDeviceSelector",
                           "fallback loadPreset", "deleted loadPreset" }));
}
