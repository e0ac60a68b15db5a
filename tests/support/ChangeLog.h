#pragma once

#include "core/HvParamsManager.h"

#include <initializer_list>
#include <vector>

namespace testing_support
{

/** Records every change and gesture of the ids it listens to, with the source, in order; with
    listenToSetting, the changes of settings too, in the same order (a setting's source is not
    known: it is recorded as null, its value as a float). */
class ChangeLog : public juce::HvParamsManager::AutomatableParamListener,
                  public juce::HvParamsManager::NonAutomatableParamListener
{
public:
    struct Entry
    {
        enum Kind { value, begin, end, setting } kind;
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

        for (auto id : watchedSettings)
            manager.removeNonAutomatableParamListener (this, id);
    }

    void listenTo (int id)
    {
        watched.push_back (id);
        manager.addParamListener (this, id, juce::HvParamsManager::noNotification);
    }

    void listenToSetting (int id)
    {
        watchedSettings.push_back (id);
        manager.addNonAutomatableParamListener (this, id, juce::HvParamsManager::noNotification);
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

    void nonAutomatableParamValueChanged (int id, juce::var v) override
    {
        entries.push_back ({ Entry::setting, id, (float) v, nullptr });
    }

    /** The entries of a parameter. */
    std::vector<Entry> forId (int id) const
    {
        std::vector<Entry> result;
        for (auto& e : entries)
            if (e.id == id && e.kind != Entry::setting)
                result.push_back (e);
        return result;
    }

    std::vector<Entry> entries;

private:
    juce::HvParamsManager& manager;
    std::vector<int> watched;
    std::vector<int> watchedSettings;
};

} // namespace testing_support
