#pragma once

#include "support/midiworld/VirtualMidiWorld.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace testing_support
{

/** Spins, without the message thread, until the condition holds or the timeout passes. */
template <typename Condition>
bool waitFor (Condition condition, int timeoutMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);

    while (! condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;

        std::this_thread::yield();
    }

    return true;
}

/** Expects that the product holds nothing in the world and broke none of its rules. */
inline void expectWorldClean()
{
    EXPECT_TRUE (VirtualMidiWorld::waitUntilIdle());
    EXPECT_EQ (VirtualMidiWorld::census().describe(), VirtualMidiWorld::Census {}.describe());
    EXPECT_EQ (VirtualMidiWorld::totalBreaches(), 0);
}

/** Checks the world once everything the test made is gone, then resets it. */
class MidiWorldTest : public ::testing::Test
{
protected:
    ~MidiWorldTest() override
    {
        expectWorldClean();
        VirtualMidiWorld::reset();
    }
};

/** A client of the world, counting the set-up notifications it is sent. */
class TestMidiClient
{
public:
    TestMidiClient()
    {
        auto name = CFStringCreateWithCString (kCFAllocatorDefault, "Test client", kCFStringEncodingASCII);
        MIDIClientCreate (name, notified, this, &ref);
        CFRelease (name);
    }

    ~TestMidiClient()
    {
        if (ref != 0)
            MIDIClientDispose (ref);
    }

    MIDIClientRef ref = 0;
    std::atomic<int> setupChanges { 0 };
    std::atomic<int> otherNotifications { 0 };
    std::atomic<int> notificationsOffTheDeliveryThread { 0 };

private:
    static void notified (const MIDINotification* message, void* context)
    {
        auto& client = *static_cast<TestMidiClient*> (context);

        if (! VirtualMidiWorld::isDeliveryThread())
            ++client.notificationsOffTheDeliveryThread;

        ++(message->messageID == kMIDIMsgSetupChanged ? client.setupChanges : client.otherNotifications);
    }

    JUCE_DECLARE_NON_COPYABLE (TestMidiClient)
};

} // namespace testing_support
