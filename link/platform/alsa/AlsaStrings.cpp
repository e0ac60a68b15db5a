#include "link/platform/alsa/AlsaStrings.h"

#include <algorithm>
#include <cstring>

namespace hv_alsa
{

bool AlsaStrings::isAscii (const std::string& text)
{
    return std::all_of (text.begin(), text.end(), [] (char c) { return static_cast<unsigned char> (c) < 0x80; });
}

long AlsaStrings::utf16Length (const std::string& utf8)
{
    long units = 0;

    for (auto c : utf8)
    {
        const auto byte = static_cast<unsigned char> (c);

        if (byte < 0x80 || (byte >= 0xc0 && byte < 0xf0))
            units += 1; // a character of the basic plane starts here
        else if (byte >= 0xf0)
            units += 2; // needs a surrogate pair
    }

    return units;
}

bool AlsaStrings::copyAscii (const std::string& text, char* buffer, long bufferSize)
{
    if (buffer == nullptr || ! isAscii (text) || bufferSize < static_cast<long> (text.size()) + 1)
        return false;

    std::memcpy (buffer, text.c_str(), text.size() + 1);
    return true;
}

} // namespace hv_alsa
