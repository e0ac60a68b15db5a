#include "link/UnitMessage.h"

namespace juce
{

namespace
{

constexpr uint8 header[] { 0xf0, 0x00, 0x12, 0x34 };
constexpr uint8 endOfExclusive = 0xf7;
constexpr uint8 selectedChannelFlag = 0x01;
constexpr uint8 otherChannelFlag = 0x08;
constexpr int reportLength = 9;

/** A byte above 7F inside a system-exclusive message would end it. */
constexpr uint8 dataByte (int value) noexcept
{
    return static_cast<uint8> (value & 0x7f);
}

} // namespace

UnitMessage::Query UnitMessage::serialNumberQuery() noexcept
{
    return { header[0], header[1], header[2], header[3], 0x00, 0x04, endOfExclusive };
}

UnitMessage::Value UnitMessage::valueMessage (int serialNumber, int hardwareNumber, int value, bool otherChannel) noexcept
{
    const auto lowEightBits = value & 0xff;

    return { header[0], header[1], header[2], header[3],
             dataByte (serialNumber),
             otherChannel ? otherChannelFlag : selectedChannelFlag,
             dataByte (hardwareNumber),
             dataByte (lowEightBits),
             dataByte (lowEightBits >> 7),
             endOfExclusive };
}

bool UnitMessage::isUnitMessage (const uint8* bytes, int length) noexcept
{
    return bytes != nullptr && length > headerLength
        && std::equal (std::begin (header), std::end (header), bytes);
}

int UnitMessage::serialNumberOf (const uint8* bytes) noexcept
{
    return bytes[headerLength];
}

std::optional<UnitMessage::Report> UnitMessage::readReport (const uint8* bytes, int length) noexcept
{
    if (! isUnitMessage (bytes, length) || length < reportLength)
        return std::nullopt;

    // 00 and 01 both mean the selected channel; anything else is not for us.
    if (bytes[5] > selectedChannelFlag)
        return std::nullopt;

    return Report { bytes[6], bytes[8] * 128 + bytes[7] };
}

} // namespace juce
