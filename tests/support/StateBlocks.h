#pragma once

#include "core/Eq713kPluginInstance.h"
#include "core/ParamData.h"
#include "core/StateFormat.h"

#include <juce_data_structures/juce_data_structures.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace testing_support
{

inline juce::MemoryBlock blockOf (const juce::ValueTree& tree)
{
    juce::MemoryBlock block;
    {
        juce::MemoryOutputStream out (block, false);
        tree.writeToStream (out);
    }
    return block;
}

inline juce::MemoryBlock blockOf (const std::string& bytes)
{
    return juce::MemoryBlock (bytes.data(), bytes.size());
}

inline juce::MemoryBlock stateOf (juce::AudioProcessor& instance)
{
    juce::MemoryBlock block;
    instance.getStateInformation (block);
    return block;
}

inline void restore (juce::AudioProcessor& instance, const juce::MemoryBlock& block)
{
    instance.setStateInformation (block.getData(), (int) block.getSize());
}

inline std::vector<float> parametersOf (const Eq713kPluginInstance& instance)
{
    std::vector<float> values;
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
        values.push_back (instance.getProductManager().getParamValue (id));
    return values;
}

inline std::vector<juce::var> settingsOf (const Eq713kPluginInstance& instance)
{
    std::vector<juce::var> values;
    for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
        values.push_back (instance.getProductManager().getNonAutomatableParamValue (id));
    return values;
}

/** A node with the given properties, in order. */
inline juce::ValueTree node (const juce::Identifier& type, std::initializer_list<std::pair<const char*, juce::var>> properties,
                             std::initializer_list<juce::ValueTree> children = {})
{
    juce::ValueTree tree (type);
    for (const auto& [name, value] : properties)
        tree.setProperty (name, value, nullptr);
    for (const auto& child : children)
        tree.appendChild (child, nullptr);
    return tree;
}

/** A state tree with the given preset children and setting children; a void preset
    number leaves "PRESET_NO" out. */
inline juce::ValueTree stateTree (std::vector<juce::ValueTree> presetChildren, std::vector<juce::ValueTree> settingChildren = {},
                                  const juce::var& presetNumber = 0)
{
    auto preset = node (StateFormat::presetType, {});
    if (! presetNumber.isVoid())
        preset.setProperty (StateFormat::presetNumberProperty, presetNumber, nullptr);

    for (auto& child : presetChildren)
        preset.appendChild (child, nullptr);

    auto settings = node (StateFormat::settingsType, {});
    for (auto& child : settingChildren)
        settings.appendChild (child, nullptr);

    return node (StateFormat::rootType, {}, { preset, settings });
}

inline juce::ValueTree param (const juce::var& value)
{
    return node (StateFormat::paramType, { { "VALUE", value } });
}

inline juce::ValueTree setting (const juce::var& id, const juce::var& value)
{
    return node (StateFormat::settingType, { { "PARAM_ID", id }, { "VALUE", value } });
}

} // namespace testing_support
