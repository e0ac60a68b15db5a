#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace guest_test
{

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

/** What every played unit does, whatever carries its bytes: records each whole message it is
    sent, answers the serial-number query and builds the value reports a turned knob sends. */
class UnitCore
{
public:
    struct Received
    {
        Bytes bytes;
        Clock::time_point at;
    };

    UnitCore (int serialNumber, bool answersQuery) : serial (serialNumber), answers (answersQuery) {}

    /** A whole message arrived; returns the reply to send, empty for none. */
    Bytes receive (const Bytes& message);

    std::vector<Received> received() const;
    std::vector<Bytes> receivedBytes() const;
    size_t receivedCount() const;
    int queriesReceived() const;
    void clear();

    /** Waits until the condition holds for what was received; false on timeout. */
    bool waitUntil (const std::function<bool (const std::vector<Received>&)>& condition, int timeoutMs);

    /** A value report with channel flag 00, as the unit sends when a knob is turned. */
    Bytes report (int hardwareNumber, int value) const;

    /** A value message as the plug-in sends it (channel flag 01, or 08 for the other channel). */
    Bytes valueMessage (int hardwareNumber, int value, bool otherChannel = false) const;

    int serialNumber() const { return serial; }

    static const Bytes query;

private:
    const int serial;
    const bool answers;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Received> messages;
};

} // namespace guest_test
