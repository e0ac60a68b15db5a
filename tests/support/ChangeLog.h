#pragma once

#include "core/HvParamsManager.h"

#include <initializer_list>
#include <vector>

namespace testing_support
{

/** Records every change and gesture of the ids it listens to, with the source, in order. */
class ChangeLog : public juce::HvParamsManager::AutomatableParamListener
{
public:
    struct Entry
    {
        enum Kind { value, begin, end } kind;
        int id;
        float newValue;
        AutomatableParamListener* source;
    };

    ChangeLog (juce::HvParamsManager& managerToWatch, std::initializer_list<int> ids) : manager (managerToWatch)
    {
        for (auto id : ids)
            listenTo (id);
    }

    ~ChangeLog() override
    {
        for (auto id : watched)
            manager.removeParamListener (this, id);
    }

    void listenTo (int id)
    {
        watched.push_back (id);
        manager.addParamListener (this, id, juce::HvParamsManager::noNotification);
    }

    using AutomatableParamListener::paramValueChanged;
    using AutomatableParamListener::paramGestureChanged;

    void paramValueChanged (AutomatableParamListener* source, int id, float v) override
    {
        entries.push_back ({ Entry::value, id, v, source });
    }

    void paramGestureChanged (AutomatableParamListener* source, int id, bool starting) override
    {
        entries.push_back ({ starting ? Entry::begin : Entry::end, id, 0.0f, source });
    }

    std::vector<Entry> forId (int id) const
    {
        std::vector<Entry> result;
        for (auto& e : entries)
            if (e.id == id)
                result.push_back (e);
        return result;
    }

    std::vector<Entry> entries;

private:
    juce::HvParamsManager& manager;
    std::vector<int> watched;
};

} // namespace testing_support
