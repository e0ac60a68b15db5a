#include "link/platform/alsa/AlsaMidiServer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

using hv_alsa::AlsaMidiServer;

namespace
{

int completions = 0;
void countCompletion (MIDISysexSendRequest*) { ++completions; }
void ignoreNotification (const MIDINotification*, void*) {}
void ignorePackets (const MIDIPacketList*, void*, void*) {}

bool sequencerReachable()
{
    return ::access ("/dev/snd/seq", R_OK | W_OK) == 0;
}

/** What is written to the standard error while it lives. */
class StandardErrorCatcher
{
public:
    StandardErrorCatcher()
    {
        std::fflush (stderr);
        saved = ::dup (2);
        std::snprintf (path, sizeof (path), "/tmp/eq713k-stderr-%d", (int) ::getpid());
        caught = ::open (path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2 (caught, 2);
    }

    ~StandardErrorCatcher() { restore(); ::unlink (path); }

    std::string text()
    {
        restore();
        std::string result;
        char buffer[256];
        ::lseek (caught, 0, SEEK_SET);
        for (ssize_t n; (n = ::read (caught, buffer, sizeof (buffer))) > 0;)
            result.append (buffer, (size_t) n);
        return result;
    }

private:
    void restore()
    {
        if (saved < 0)
            return;
        std::fflush (stderr);
        ::dup2 (saved, 2);
        ::close (saved);
        saved = -1;
    }

    char path[64] {};
    int saved = -1;
    int caught = -1;
};

// Where the sequencer cannot be opened (no sound modules, a container, no access), as on the
// machines that build this: the product's ordinary calls all answer, nothing is listed, nothing
// is sent and nothing is said. The same backend on a sequencer is tried in tests/vm.
TEST (AlsaMidiServerTest, WithoutASequencerClientsExistButNothingIsListedSentOrSaid)
{
    if (sequencerReachable())
        GTEST_SKIP() << "this machine has a sequencer";

    StandardErrorCatcher standardError;

    for (int round = 0; round < 2; ++round) // and again once the first client has gone
    {
        AlsaMidiServer server;
        MIDIClientRef client = 0;
        ASSERT_EQ (server.createClient ("Halvorstine Remote MIDI", ignoreNotification, nullptr, &client), noErr);
        EXPECT_NE (client, 0u);
        EXPECT_EQ (server.numberOfDevices(), 0u);
        EXPECT_EQ (server.deviceAt (0), 0u);

        MIDIPortRef port = 0;
        EXPECT_NE (server.createInputPort (client, "Halvorstine Remote MIDI Input", ignorePackets, nullptr, &port), noErr);
        EXPECT_EQ (port, 0u);

        const Byte query[] { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };
        MIDISysexSendRequest request { 0x100, query, sizeof (query), 0, {}, countCompletion, nullptr };
        completions = 0;
        EXPECT_NE (server.send (&request), noErr);
        EXPECT_EQ (completions, 0) << "a refused send never completes";

        EXPECT_EQ (server.disposeClient (client), noErr);
        EXPECT_NE (server.disposeClient (client), noErr);
    }

    EXPECT_EQ (standardError.text(), "");
}

TEST (AlsaMidiServerTest, CallsWithMissingArgumentsOrUnknownObjectsAreRefused)
{
    AlsaMidiServer server;
    MIDIClientRef client = 0;
    EXPECT_NE (server.createClient ("Halvorstine Remote MIDI", ignoreNotification, nullptr, nullptr), noErr);
    ASSERT_EQ (server.createClient ("Halvorstine Remote MIDI", ignoreNotification, nullptr, &client), noErr);

    MIDIPortRef port = 0;
    EXPECT_NE (server.createInputPort (client, "Halvorstine Remote MIDI Input", nullptr, nullptr, &port), noErr);
    EXPECT_NE (server.createInputPort (client + 1000, "Halvorstine Remote MIDI Input", ignorePackets, nullptr, &port), noErr);
    EXPECT_NE (server.connectSource (12345, 678, nullptr), noErr);
    EXPECT_NE (server.disconnectSource (12345, 678), noErr);
    EXPECT_NE (server.disposePort (12345), noErr);
    EXPECT_NE (server.send (nullptr), noErr);

    const Byte bytes[] { 0xf0, 0xf7 };
    MIDISysexSendRequest noCompletion { 0x100, bytes, sizeof (bytes), 0, {}, nullptr, nullptr };
    EXPECT_NE (server.send (&noCompletion), noErr);

    EXPECT_EQ (server.numberOfEntities (12345), 0u);
    EXPECT_EQ (server.entityAt (12345, 0), 0u);
    EXPECT_EQ (server.sourceAt (12345, 0), 0u);
    std::string name;
    EXPECT_FALSE (server.deviceName (12345, name));
    EXPECT_EQ (server.disposeClient (client), noErr);
}

} // namespace
