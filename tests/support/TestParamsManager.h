#pragma once

#include "core/HvDawParameter.h"
#include "core/HvParamsManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace testing_support
{

/** A bare processor that owns host parameters, so that gestures reach a "host". */
class TestProcessor : public juce::AudioProcessor
{
public:
    const juce::String getName() const override { return "test"; }
    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    using AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}
};

/** A generic manager with a few parameters (default 0.25) and settings (setting i holds int i). */
class TestParamsManager : public juce::HvParamsManager
{
public:
    TestParamsManager (juce::AudioProcessor& processor, int numParams, int numSettings)
    {
        for (int id = 0; id < numParams; ++id)
        {
            auto* hostParameter = new juce::HvDawParameter (*this, id, "P" + juce::String (id), 0.25f);
            processor.addParameter (hostParameter);
            addAutomatableParam (*hostParameter);
        }

        for (int id = 0; id < numSettings; ++id)
            addNonAutomatableParam (juce::var (id));
    }
};

/** What a host sees of its parameters: value changes and gestures, in order. */
struct HostEvent
{
    enum Kind { value, gestureBegin, gestureEnd } kind;
    int index;
    float newValue;
};

class HostRecorder : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue) override
    {
        events.push_back ({ HostEvent::value, index, newValue });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ HostEvent::gestureBegin, index, 0.0f });
    }

    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ HostEvent::gestureEnd, index, 0.0f });
    }

    /** Whether every value of the parameter came between a begin and an end of a gesture on
        it, and every gesture begun on it ended. */
    bool valuesOnlyInsideGestures (int index) const
    {
        auto open = false;

        for (auto& e : events)
        {
            if (e.index != index)
                continue;

            if (e.kind == HostEvent::value && ! open)
                return false;

            if (e.kind != HostEvent::value)
                open = e.kind == HostEvent::gestureBegin;
        }

        return ! open;
    }

    int count (HostEvent::Kind kind) const
    {
        int n = 0;
        for (auto& e : events)
            n += e.kind == kind ? 1 : 0;
        return n;
    }

    std::vector<HostEvent> events;
};

} // namespace testing_support
