#pragma once

#include <cstddef>
#include <string>

namespace hv_alsa
{

/** Text rules of the platform's strings, which hold UTF-8 as the sequencer names things. */
struct AlsaStrings
{
    static bool isAscii (const std::string& text);

    /** Length in UTF-16 code units, as the platform's strings count it. */
    static long utf16Length (const std::string& utf8);

    /** Copies the text, null-terminated, as ASCII; false, leaving the buffer as it was, when it
        is not ASCII or does not fit. */
    static bool copyAscii (const std::string& text, char* buffer, long bufferSize);
};

} // namespace hv_alsa
