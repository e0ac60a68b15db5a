#include "link/platform/alsa/AlsaSysexJoiner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using hv_alsa::AlsaSysexJoiner;

namespace
{

using Bytes = std::vector<uint8_t>;
using Chunks = std::vector<Bytes>;

/** A message of the given total length, F0 and F7 included. */
Bytes messageOfLength (size_t length)
{
    Bytes message (length, 0x55);
    message.front() = 0xf0;
    message.back() = 0xf7;
    return message;
}

Bytes concat (std::vector<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts)
        all.insert (all.end(), p.begin(), p.end());
    return all;
}

/** Cuts the bytes into chunks of the given size, as the sequencer hands a long message over. */
Chunks chunked (const Bytes& bytes, size_t size)
{
    Chunks chunks;
    for (size_t i = 0; i < bytes.size(); i += size)
        chunks.emplace_back (bytes.begin() + (long) i, bytes.begin() + (long) std::min (bytes.size(), i + size));
    return chunks;
}

const Bytes report { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x7a, 0x01, 0xf7 };
const Bytes query { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };

// An empty chunk stands for an event that is not system-exclusive.
const Bytes otherEvent {};

std::vector<Bytes> join (const Chunks& chunks)
{
    AlsaSysexJoiner joiner;
    std::vector<Bytes> delivered;

    for (const auto& chunk : chunks)
    {
        if (chunk.empty())
            joiner.interrupt();
        else
            joiner.add (chunk.data(), chunk.size(), [&] (const uint8_t* m, size_t n) { delivered.emplace_back (m, m + n); });
    }

    return delivered;
}

struct JoinCase
{
    const char* name;
    Chunks chunks;
    std::vector<Bytes> expected;
};

class AlsaSysexJoinerCases : public ::testing::TestWithParam<JoinCase> {};

TEST_P (AlsaSysexJoinerCases, DeliversEachCompleteMessageOnce)
{
    EXPECT_EQ (join (GetParam().chunks), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (
    Chunks, AlsaSysexJoinerCases,
    ::testing::Values (
        JoinCase { "OneChunk", { report }, { report } },
        JoinCase { "ChunksJoinedUpToTheF7", { { 0xf0, 0x00, 0x12 }, { 0x34, 0x05, 0x01, 0x04 }, { 0x7a, 0x01 }, { 0xf7 } }, { report } },
        JoinCase { "TwoMessagesInOneChunk", { concat ({ query, report }) }, { query, report } },
        JoinCase { "AMessageEndingInsideTheNextChunk", { { 0xf0, 0x00, 0x12, 0x34, 0x00 }, concat ({ { 0x04, 0xf7 }, report }) }, { query, report } },
        JoinCase { "ExactlyAPacketLong", chunked (messageOfLength (256), 32), { messageOfLength (256) } },
        JoinCase { "OneByteTooLongIsDroppedWhole", chunked (concat ({ messageOfLength (257), report }), 32), { report } },
        JoinCase { "FarTooLongIsDroppedWhole", chunked (concat ({ messageOfLength (5000), report }), 100), { report } },
        JoinCase { "NeverReachingF7IsAbandonedByTheNextStart", { { 0xf0, 0x00, 0x12, 0x34, 0x05 }, { 0x01, 0x04 }, report }, { report } },
        JoinCase { "NeverReachingF7DeliversNothing", { { 0xf0, 0x00, 0x12, 0x34, 0x05 }, { 0x01, 0x04, 0x7a } }, {} },
        JoinCase { "BytesWithoutAStartAreDropped", { { 0x00, 0x12, 0x34, 0xf7 }, report }, { report } },
        JoinCase { "AnotherEventCutsAMessageShort", { { 0xf0, 0x00, 0x12, 0x34 }, otherEvent, { 0x05, 0x01, 0x04, 0x7a, 0x01, 0xf7 }, report }, { report } },
        JoinCase { "AnotherEventBetweenMessagesChangesNothing", { report, otherEvent, report }, { report, report } },
        JoinCase { "AStatusByteCutsAMessageShort", { { 0xf0, 0x00, 0x12, 0x90, 0x40, 0x7f, 0xf7 }, report }, { report } },
        JoinCase { "RealTimeBytesInsideAreSkipped", { { 0xf0, 0x00, 0xf8, 0x12, 0x34, 0xfe, 0x00, 0x04, 0xf7 } }, { query } },
        JoinCase { "AnEmptyMessage", { { 0xf0, 0xf7 } }, { { 0xf0, 0xf7 } } }),
    [] (const ::testing::TestParamInfo<JoinCase>& testCase) { return std::string (testCase.param.name); });

TEST (AlsaSysexJoinerTest, AFloodWithoutF7HoldsNoMoreThanAPacketAndRecovers)
{
    AlsaSysexJoiner joiner;
    int delivered = 0;
    const auto count = [&] (const uint8_t*, size_t) { ++delivered; };

    const Bytes start { 0xf0 };
    const Bytes flood (1 << 16, 0x11);
    joiner.add (start.data(), start.size(), count);

    for (int i = 0; i < 64; ++i)
        joiner.add (flood.data(), flood.size(), count);

    EXPECT_EQ (delivered, 0);
    EXPECT_TRUE (joiner.isInsideMessage());
    EXPECT_LE (sizeof (joiner), AlsaSysexJoiner::maxMessageLength + 64);

    joiner.add (report.data(), report.size(), count);
    EXPECT_EQ (delivered, 1);
    EXPECT_FALSE (joiner.isInsideMessage());
}

} // namespace
