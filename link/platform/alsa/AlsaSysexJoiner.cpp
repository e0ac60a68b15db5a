#include "link/platform/alsa/AlsaSysexJoiner.h"

namespace hv_alsa
{

namespace
{
constexpr uint8_t sysexStart = 0xf0;
constexpr uint8_t sysexEnd = 0xf7;

bool isRealTime (uint8_t byte) { return byte >= 0xf8; }
bool isStatus (uint8_t byte) { return byte >= 0x80; }
} // namespace

void AlsaSysexJoiner::add (const uint8_t* bytes, size_t length, const Deliver& deliver)
{
    if (bytes == nullptr)
        return;

    for (size_t i = 0; i < length; ++i)
        addByte (bytes[i], deliver);
}

void AlsaSysexJoiner::interrupt() noexcept
{
    state = State::idle;
    used = 0;
}

void AlsaSysexJoiner::addByte (uint8_t byte, const Deliver& deliver)
{
    if (byte == sysexStart)
    {
        // A start inside a message abandons the unfinished one.
        state = State::joining;
        buffer[0] = byte;
        used = 1;
        return;
    }

    if (state == State::idle || isRealTime (byte))
        return;

    if (byte == sysexEnd)
    {
        const auto complete = state == State::joining && used < maxMessageLength;

        if (complete)
            buffer[used++] = byte;

        const auto length = used;
        interrupt();

        if (complete && deliver)
            deliver (buffer.data(), length);

        return;
    }

    if (isStatus (byte))
    {
        interrupt();
        return;
    }

    if (state == State::joining && used < maxMessageLength - 1)
        buffer[used++] = byte;
    else
        state = State::dropping; // no room left for this byte and the F7
}

} // namespace hv_alsa
