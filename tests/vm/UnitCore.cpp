#include "UnitCore.h"

namespace guest_test
{

const Bytes UnitCore::query { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };

Bytes UnitCore::receive (const Bytes& message)
{
    {
        const std::lock_guard<std::mutex> hold (mutex);
        messages.push_back ({ message, Clock::now() });
    }
    changed.notify_all();

    if (answers && message == query)
        return { 0xf0, 0x00, 0x12, 0x34, static_cast<uint8_t> (serial), 0x00, 0x04, 0x00, 0x00, 0xf7 };

    return {};
}

std::vector<UnitCore::Received> UnitCore::received() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return messages;
}

std::vector<Bytes> UnitCore::receivedBytes() const
{
    std::vector<Bytes> result;
    for (const auto& r : received())
        result.push_back (r.bytes);
    return result;
}

size_t UnitCore::receivedCount() const
{
    const std::lock_guard<std::mutex> hold (mutex);
    return messages.size();
}

int UnitCore::queriesReceived() const
{
    int n = 0;
    for (const auto& r : received())
        n += r.bytes == query ? 1 : 0;
    return n;
}

void UnitCore::clear()
{
    const std::lock_guard<std::mutex> hold (mutex);
    messages.clear();
}

bool UnitCore::waitUntil (const std::function<bool (const std::vector<Received>&)>& condition, int timeoutMs)
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::milliseconds (timeoutMs), [&] { return condition (messages); });
}

Bytes UnitCore::report (int hardwareNumber, int value) const
{
    return { 0xf0, 0x00, 0x12, 0x34, static_cast<uint8_t> (serial), 0x00, static_cast<uint8_t> (hardwareNumber),
             static_cast<uint8_t> (value & 0x7f), static_cast<uint8_t> ((value >> 7) & 0x7f), 0xf7 };
}

Bytes UnitCore::valueMessage (int hardwareNumber, int value, bool otherChannel) const
{
    return { 0xf0, 0x00, 0x12, 0x34, static_cast<uint8_t> (serial), static_cast<uint8_t> (otherChannel ? 0x08 : 0x01),
             static_cast<uint8_t> (hardwareNumber), static_cast<uint8_t> (value & 0x7f), static_cast<uint8_t> ((value & 0xff) >> 7),
             0xf7 };
}

} // namespace guest_test
