#pragma once

#include "core/HvParamsManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace juce
{

/** The generic plug-in processor: owns the parameter manager, offers its host parameters to
    the host in id order, and passes audio through untouched.

    The host may destroy it on a thread of its own: the manager, whose listeners work on the
    message thread, is then handed to the message thread to be deleted there. */
class HvPluginInstance : public AudioProcessor
{
public:
    HvPluginInstance (std::unique_ptr<HvParamsManager> manager, const BusesProperties& buses);
    ~HvPluginInstance() override;

    HvParamsManager& getParamsManager() const noexcept { return *paramsManager; }

    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    using AudioProcessor::processBlock;
    void processBlock (AudioBuffer<float>&, MidiBuffer&) override {}

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return true; }
    bool isMidiEffect() const override { return false; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    /** The one program is named: hosts list it in their preset menus, and VST3 requires every
        program of a list to have a name. */
    const String getProgramName (int index) override { return index == 0 ? String (programName) : String(); }
    void changeProgramName (int, const String&) override {}

    static constexpr const char* programName = "Default";

    void getStateInformation (MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

protected:
    /** For a subclass that tears the manager down together with its own message-thread parts;
        the host parameters are detached from it first. */
    std::unique_ptr<HvParamsManager> releaseParamsManager();

private:
    std::unique_ptr<HvParamsManager> paramsManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvPluginInstance)
};

} // namespace juce
