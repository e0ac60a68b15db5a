// Any byte block, restored any number of times into one instance, restores a valid state or
// nothing, returns, and never crashes. A framework assertion counts as a failure: it means
// the framework's reader saw data that the checks should have refused.

#include "core/Eq713kPluginInstance.h"
#include "core/ParamData.h"

#include "support/MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace
{

class AbortOnAssertion : public juce::Logger
{
    void logMessage (const juce::String& message) override
    {
        std::fprintf (stderr, "%s\n", message.toRawUTF8());

        if (message.startsWith ("JUCE Assertion failure"))
            std::abort();
    }
};

[[noreturn]] void fail (const char* what)
{
    std::fprintf (stderr, "Broken after a restore: %s\n", what);
    std::abort();
}

/** The fuzzer's thread is the message thread; one instance takes every input in turn. */
struct Harness
{
    Harness() { juce::Logger::setCurrentLogger (&logger); }
    ~Harness() { juce::Logger::setCurrentLogger (nullptr); }

    juce::ScopedJuceInitialiser_GUI framework;
    AbortOnAssertion logger;
    Eq713kPluginInstance instance;
};

Harness& harness()
{
    static Harness instance;
    return instance;
}

void restoreAndSettle (Eq713kPluginInstance& instance, const void* data, size_t size)
{
    instance.setStateInformation (data, (int) juce::jmin (size, (size_t) std::numeric_limits<int>::max()));
    testing_support::pumpPendingMessages();
}

void checkValid (const Eq713kPluginInstance& instance)
{
    const auto& manager = instance.getProductManager();

    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        const auto value = manager.getParamValue (id);
        if (! (std::isfinite (value) && value >= 0.0f && value <= 1.0f))
            fail ("a parameter outside 0..1");

        if (instance.getParameters()[id]->getValue() != value)
            fail ("the host sees another value than the store");
    }

    if (! manager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN).isInt())
        fail ("a serial number that is not an int");

    const auto channel = manager.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL);
    if (! channel.isInt() || ((int) channel != 0 && (int) channel != 1))
        fail ("a selected channel other than 0 or 1");

    for (auto id : { ParamData::SHOULD_BE_CONNECTED, ParamData::DOUBLE_WINDOW })
        if (! manager.getNonAutomatableParamValue (id).isBool())
            fail ("a flag that is not a bool");

    // Live values that a state never restores.
    for (auto id : { ParamData::IS_CONNECTED, ParamData::CLIPPER_DIODE_STATE_L, ParamData::CLIPPER_DIODE_STATE_R,
                     ParamData::MOUSE_OVER_HI_ATTEN_KNOB, ParamData::MOUSE_OVER_HI_BOOST_KNOB,
                     ParamData::MOUSE_OVER_LO_ATTEN_KNOB, ParamData::MOUSE_OVER_LO_BOOST_KNOB })
    {
        const auto value = manager.getNonAutomatableParamValue (id);
        if (! value.isBool() || (bool) value)
            fail ("a live setting changed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    auto& instance = harness().instance;

    restoreAndSettle (instance, data, size);
    checkValid (instance);

    // The state now held restores as itself.
    juce::MemoryBlock saved;
    instance.getStateInformation (saved);
    restoreAndSettle (instance, saved.getData(), saved.getSize());
    checkValid (instance);

    juce::MemoryBlock again;
    instance.getStateInformation (again);
    if (again != saved)
        fail ("a saved state restores differently");

    return 0;
}
