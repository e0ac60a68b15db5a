#include "link/ReceiveCallGate.h"

#include <thread>

void ReceiveCallGate::waitForCallsInFlight() const noexcept
{
    const auto begun = callsBegun.load();

    while (callsEnded.load() < begun)
        std::this_thread::yield();
}
