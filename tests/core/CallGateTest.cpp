#include "core/CallGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

TEST (CallGateTest, AClosedGateLetsNoCallInAndNestedCallsGoInWhileOpen)
{
    CallGate gate;

    {
        const auto outer = gate.enter();
        const auto inner = gate.enter();
        EXPECT_TRUE (outer);
        EXPECT_TRUE (inner);
    }

    gate.close();
    EXPECT_FALSE (gate.isOpen());
    EXPECT_FALSE (gate.enter());

    // Nothing is inside: the wait returns at once, also after a refused call.
    gate.waitForCallsInside();
}

TEST (CallGateTest, AWaitReturnsOnlyAfterTheCallInsideHasLeftAndAgainForTheNextWait)
{
    CallGate gate;

    for (int round = 0; round < 3; ++round)
    {
        std::atomic<bool> released { false };
        std::atomic<bool> waitSawRelease { false };

        auto entry = gate.enter();
        ASSERT_TRUE (entry);

        std::thread waiter ([&]
        {
            gate.waitForCallsInside();
            waitSawRelease.store (released.load());
        });

        released.store (true);
        { const auto leaving = std::move (entry); }

        waiter.join();
        EXPECT_TRUE (waitSawRelease.load()) << "round " << round;
    }
}

TEST (CallGateTest, CallsThatKeepComingDoNotHoldUpAWait)
{
    CallGate gate;
    std::atomic<bool> stop { false };

    // Calls one after the other with no gap worth the name, as a busy receive thread makes them.
    std::thread caller ([&]
    {
        while (! stop.load())
            const auto entry = gate.enter();
    });

    for (int i = 0; i < 100; ++i)
        gate.waitForCallsInside();

    stop.store (true);
    caller.join();
}

} // namespace
