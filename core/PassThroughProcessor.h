#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Stand-in processor until the plug-in instance exists: stereo in and out, audio untouched. */
class PassThroughProcessor : public juce::AudioProcessor
{
public:
    PassThroughProcessor();

    const juce::String getName() const override { return "Halvorstine EQ713K"; }
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    using AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return true; }
    bool isMidiEffect() const override { return false; }

    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PassThroughProcessor)
};
