#pragma once

#include "link/MidiChannelParam.h"

#include <ostream>
#include <utility>
#include <vector>

namespace testing_support
{

/** One value message as a hardware-parameter object asked for it. */
struct SentValue
{
    int number;
    int value;
    bool otherChannel;

    bool operator== (const SentValue& other) const
    {
        return number == other.number && value == other.value && otherChannel == other.otherChannel;
    }

    friend void PrintTo (const SentValue& s, std::ostream* os)
    {
        *os << "{" << s.number << ", " << s.value << (s.otherChannel ? ", other}" : ", selected}");
    }
};

/** Stands for the unit where the bytes on the wire do not matter. Message thread only. */
class UnitSendLog
{
public:
    MidiChannelParam::UnitSender sender()
    {
        return [this] (int number, int value, bool otherChannel) { sent.push_back ({ number, value, otherChannel }); };
    }

    /** Returns what was sent since the last take. */
    std::vector<SentValue> take() { return std::exchange (sent, {}); }

    std::vector<SentValue> sent;
};

} // namespace testing_support
