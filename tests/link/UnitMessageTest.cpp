#include "link/UnitMessage.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using juce::UnitMessage;

namespace juce
{
void PrintTo (const UnitMessage::Report& report, std::ostream* os)
{
    *os << "number " << report.number << " value " << report.value;
}
} // namespace juce

namespace
{

using Bytes = std::vector<juce::uint8>;

template <typename Container>
Bytes toBytes (const Container& c)
{
    return Bytes (c.begin(), c.end());
}

TEST (UnitMessageTest, TheSerialNumberQueryIsFixed)
{
    EXPECT_EQ (toBytes (UnitMessage::serialNumberQuery()), (Bytes { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 }));
}

struct ValueCase
{
    const char* name;
    int serialNumber;
    int number;
    int value;
    bool otherChannel;
    Bytes expected;
};

const ValueCase valueCases[] {
    { "value 0", 5, 4, 0, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x00, 0x00, 0xf7 } },
    { "value 64", 5, 15, 64, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0f, 0x40, 0x00, 0xf7 } },
    { "value 125", 5, 4, 125, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x7d, 0x00, 0xf7 } },
    { "value 172", 5, 16, 172, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x10, 0x2c, 0x01, 0xf7 } },
    { "value 250", 5, 4, 250, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x7a, 0x01, 0xf7 } },
    { "value 255", 5, 16, 255, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x10, 0x7f, 0x01, 0xf7 } },
    { "other channel", 9, 5, 250, true, { 0xf0, 0x00, 0x12, 0x34, 0x09, 0x08, 0x05, 0x7a, 0x01, 0xf7 } },
    { "dual mono channel 1", 5, 14, 2, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x0e, 0x02, 0x00, 0xf7 } },
    { "value 300 keeps its low 8 bits", 5, 4, 300, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x2c, 0x00, 0xf7 } },
    { "value 256 keeps its low 8 bits", 5, 4, 256, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x00, 0x00, 0xf7 } },
    { "negative value", 5, 4, -1, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x04, 0x7f, 0x01, 0xf7 } },
    { "serial above 7F", 200, 4, 10, false, { 0xf0, 0x00, 0x12, 0x34, 0x48, 0x01, 0x04, 0x0a, 0x00, 0xf7 } },
    { "serial not learnt", -1, 4, 10, false, { 0xf0, 0x00, 0x12, 0x34, 0x7f, 0x01, 0x04, 0x0a, 0x00, 0xf7 } },
    { "number above 7F", 5, 200, 10, false, { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x48, 0x0a, 0x00, 0xf7 } },
};

TEST (UnitMessageTest, ValueMessagesCarryTheLowEightBitsInSevenBitDataBytes)
{
    for (const auto& c : valueCases)
    {
        SCOPED_TRACE (c.name);
        const auto message = toBytes (UnitMessage::valueMessage (c.serialNumber, c.number, c.value, c.otherChannel));

        EXPECT_EQ (message, c.expected);

        for (size_t i = 1; i + 1 < message.size(); ++i)
            EXPECT_LT (message[i], 0x80) << "data byte " << i;
    }
}

struct ReadCase
{
    const char* name;
    Bytes bytes;
    bool isUnitMessage;
    int serialNumber; // when it starts with the header
    std::optional<UnitMessage::Report> report;
};

const ReadCase readCases[] {
    { "empty", {}, false, 0, std::nullopt },
    { "header without serial number", { 0xf0, 0x00, 0x12, 0x34 }, false, 0, std::nullopt },
    { "answer of five bytes", { 0xf0, 0x00, 0x12, 0x34, 0x07 }, true, 7, std::nullopt },
    { "eight bytes", { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x00, 0x04, 0x7a }, true, 7, std::nullopt },
    { "flag 00, no end byte", { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x00, 0x04, 0x7a, 0x01 }, true, 7, UnitMessage::Report { 4, 250 } },
    { "flag 01", { 0xf0, 0x00, 0x12, 0x34, 0x03, 0x01, 0x0f, 0x40, 0x00, 0xf7 }, true, 3, UnitMessage::Report { 15, 64 } },
    { "flag 08", { 0xf0, 0x00, 0x12, 0x34, 0x09, 0x08, 0x04, 0x10, 0x00, 0xf7 }, true, 9, std::nullopt },
    { "flag 02", { 0xf0, 0x00, 0x12, 0x34, 0x09, 0x02, 0x04, 0x10, 0x00, 0xf7 }, true, 9, std::nullopt },
    { "bytes after the end", { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x00, 0x10, 0x2c, 0x01, 0xf7, 0x55, 0x66 }, true, 7, UnitMessage::Report { 16, 172 } },
    { "misplaced end byte", { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x00, 0x05, 0x7a, 0x01, 0x00, 0xf7 }, true, 7, UnitMessage::Report { 5, 250 } },
    { "number outside the map", { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x00, 0x11, 0x00, 0x00, 0xf7 }, true, 7, UnitMessage::Report { 17, 0 } },
    { "another maker", { 0xf0, 0x00, 0x12, 0x35, 0x07, 0x00, 0x04, 0x7a, 0x01, 0xf7 }, false, 0, std::nullopt },
    { "not system exclusive", { 0x90, 0x00, 0x12, 0x34, 0x07, 0x00, 0x04, 0x7a, 0x01, 0xf7 }, false, 0, std::nullopt },
    { "note on", { 0x90, 0x40, 0x7f }, false, 0, std::nullopt },
};

TEST (UnitMessageTest, ReceivedMessagesAreReadOnlyWhenTheyMatch)
{
    for (const auto& c : readCases)
    {
        SCOPED_TRACE (c.name);
        const auto* data = c.bytes.empty() ? nullptr : c.bytes.data();
        const auto length = static_cast<int> (c.bytes.size());

        EXPECT_EQ (UnitMessage::isUnitMessage (data, length), c.isUnitMessage);

        if (c.isUnitMessage)
        {
            EXPECT_EQ (UnitMessage::serialNumberOf (data), c.serialNumber);
        }

        EXPECT_EQ (UnitMessage::readReport (data, length), c.report);
    }
}

TEST (UnitMessageTest, AValueMessageReadsBackAsItsReport)
{
    const auto message = UnitMessage::valueMessage (12, 16, 255, false);
    EXPECT_EQ (UnitMessage::readReport (message.data(), (int) message.size()), (UnitMessage::Report { 16, 255 }));
}

} // namespace
