#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <optional>

namespace juce
{

/** The system-exclusive messages exchanged with the unit. Every message starts with the
    header F0 00 12 34; those built here end with F7 and carry only 7-bit data bytes. */
struct UnitMessage
{
    static constexpr int headerLength = 4;
    static constexpr int queryLength = 7;
    static constexpr int valueLength = 10;

    using Query = std::array<uint8, queryLength>;
    using Value = std::array<uint8, valueLength>;

    /** A value the unit reports for one of its hardware parameter numbers. */
    struct Report
    {
        int number;
        int value;

        bool operator== (const Report& other) const noexcept { return number == other.number && value == other.value; }
    };

    /** Asks a unit for its serial number. */
    static Query serialNumberQuery() noexcept;

    /** Sets a hardware parameter of the unit with that serial number, on the channel selected
        on the unit or on the other one. Only the value's low 8 bits travel. */
    static Value valueMessage (int serialNumber, int hardwareNumber, int value, bool otherChannel) noexcept;

    /** At least five bytes that start with the header: byte 4 is then a serial number. */
    static bool isUnitMessage (const uint8* bytes, int length) noexcept;

    /** Byte 4 of a message that starts with the header. */
    static int serialNumberOf (const uint8* bytes) noexcept;

    /** The report carried by a message that starts with the header, if it is long enough and
        meant for the selected channel; bytes from 9 on are not looked at. */
    static std::optional<Report> readReport (const uint8* bytes, int length) noexcept;
};

} // namespace juce
