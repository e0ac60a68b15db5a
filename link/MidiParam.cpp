#include "link/MidiParam.h"

MidiParam::MidiParam()
    : clock ([] { return juce::Time::currentTimeMillis(); })
{
}

MidiParam::~MidiParam()
{
    cancelPendingUpdate();
    endGesture();
}

void MidiParam::setReceivedValue (int value)
{
    receivedValue.exchange (value);
    triggerAsyncUpdate();
}

void MidiParam::dawValueChanged (int value)
{
    if (send)
        send (value);
}

void MidiParam::handleAsyncUpdate()
{
    const auto value = receivedValue.load();
    stopTimer (gestureTimerId);

    const auto now = clock();
    int delay = firstValueGestureMs;

    if (gestureActive)
    {
        delay = nextGestureDelay (now);
    }
    else
    {
        if (onGesture)
            onGesture (true);

        gestureActive = true;
    }

    lastReceiveTime = now;
    startTimer (gestureTimerId, delay);

    if (onReceived)
        onReceived (value);
}

int MidiParam::nextGestureDelay (juce::int64 now) const noexcept
{
    // Compared before multiplying, so that no clock difference can overflow; a clock that
    // went backwards gives the shortest gesture.
    if (now <= lastReceiveTime)
        return shortestGestureMs;

    const auto gap = (juce::uint64) now - (juce::uint64) lastReceiveTime;

    if (gap > (juce::uint64) (longestGestureMs / 3))
        return longestGestureMs;

    return juce::jmax (shortestGestureMs, 3 * (int) gap);
}

void MidiParam::timerCallback (int timerId)
{
    if (timerId == gestureTimerId)
        endGesture();
}

void MidiParam::endGesture()
{
    stopTimer (gestureTimerId);

    if (! gestureActive)
        return;

    gestureActive = false;

    if (onGesture)
        onGesture (false);
}
