#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace hv_alsa
{

/** Joins the system-exclusive bytes that one source sends to one port into whole messages.
    The sequencer may hand a message over in several chunks; a message is complete at its F7.
    A message longer than a packet (256 bytes) is dropped whole, and so is one that another
    status byte cuts short; real-time bytes inside a message are skipped. Bytes outside a
    message are dropped. Holds at most one packet's worth, whatever it is fed. */
class AlsaSysexJoiner
{
public:
    static constexpr size_t maxMessageLength = 256;

    /** Called with each complete message, F0 to F7 inclusive. */
    using Deliver = std::function<void (const uint8_t* message, size_t length)>;

    /** Feeds one chunk of a system-exclusive event. */
    void add (const uint8_t* bytes, size_t length, const Deliver& deliver);

    /** An event that is not system-exclusive arrived from the same source: a message in
        progress is cut short, as a status byte would cut it on a MIDI cable. */
    void interrupt() noexcept;

    bool isInsideMessage() const noexcept { return state != State::idle; }

private:
    enum class State
    {
        idle,     // between messages
        joining,  // inside a message that still fits
        dropping  // inside a message that grew too long: skipped up to its F7
    };

    void addByte (uint8_t byte, const Deliver& deliver);

    std::array<uint8_t, maxMessageLength> buffer {};
    size_t used = 0;
    State state = State::idle;
};

} // namespace hv_alsa
