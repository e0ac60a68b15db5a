#pragma once

#include <malloc.h>

namespace benchmarks
{

/** The bytes the process holds on its heap now (glibc's count of the blocks in use). */
inline double heapBytesInUse()
{
    const auto info = mallinfo2();
    return (double) info.uordblks + (double) info.hblkhd;
}

/** The counter of the editor benchmarks: the heap an opened editor holds, in megabytes. */
inline constexpr const char* heldMegabytesCounter = "heldMB";

} // namespace benchmarks
