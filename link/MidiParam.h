#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>

/** One value travelling between one plug-in parameter and one hardware parameter number.

    A value the unit reports is stored atomically (any thread) and handed to onReceived on
    the message thread, inside a gesture that ends 300 ms after a lone value, or three
    times the latest gap (100..1000 ms) after the last of a run, so that a knob turned on
    the unit reaches the host as one automation gesture. A value from the plug-in side goes
    straight to send. The owner supplies the three functions; an empty one is skipped.
*/
class MidiParam : public juce::AsyncUpdater,
                  public juce::MultiTimer
{
public:
    /** Wall-clock milliseconds. */
    using Clock = std::function<juce::int64()>;

    static constexpr int gestureTimerId = 0;
    static constexpr int firstValueGestureMs = 300;
    static constexpr int shortestGestureMs = 100;
    static constexpr int longestGestureMs = 1000;

    MidiParam();

    /** Ends an open gesture first, so that the host is not left inside it. */
    ~MidiParam() override;

    /** Any thread: keeps the latest value and schedules its application. */
    void setReceivedValue (int value);

    /** The plug-in side has a new hardware value; sent on the calling thread. */
    void dawValueChanged (int value);

    /** Ends an open gesture now. */
    void endGesture();

    bool isGestureActive() const noexcept { return gestureActive; }

    /** Replaces the wall clock that times the gestures. */
    void setClock (Clock newClock) { clock = std::move (newClock); }

    void handleAsyncUpdate() override;
    void timerCallback (int timerId) override;

    std::function<void (int)> onReceived;
    std::function<void (bool)> onGesture;
    std::function<void (int)> send;

private:
    int nextGestureDelay (juce::int64 now) const noexcept;

    std::atomic<int> receivedValue { -1 };
    bool gestureActive = false;
    juce::int64 lastReceiveTime = 0;
    Clock clock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiParam)
};
