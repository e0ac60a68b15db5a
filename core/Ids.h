#pragma once

#include <juce_core/juce_core.h>

namespace Ids
{

/** The commands that travel through the instance's command queue. */
namespace hvEq713k
{
    inline const juce::Identifier showDeviceSelector { "showDeviceSelector" };
    inline const juce::Identifier loadPreset { "loadPreset" };
    inline const juce::Identifier savePreset { "savePreset" };
} // namespace hvEq713k

} // namespace Ids
