#include "core/StateRestoreHandOver.h"

#include "core/Eq713kParamsManager.h"
#include "core/StateFormat.h"

#include <algorithm>

StateRestoreHandOver::StateRestoreHandOver (Eq713kParamsManager& owner) : manager (owner)
{
}

StateRestoreHandOver::~StateRestoreHandOver()
{
    cancelPendingUpdate();
}

void StateRestoreHandOver::restore (const void* data, int sizeInBytes, bool reportToHost)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    const auto onMessageThread = juce::MessageManager::existsAndIsCurrentThread();

    // A restore handed over earlier is older than this one and is told first.
    if (onMessageThread)
        handleUpdateNowIfNeeded();

    const auto current = manager.takeSnapshot();
    const auto restored = StateFormat::read (data, (size_t) sizeInBytes, current);
    const auto values = Eq713kParamsManager::valuesAfterRestoring (restored.parameters, current);

    if (values.empty() && restored.settings.empty())
        return;

    manager.storeRestoredValues (values, reportToHost);

    std::vector<int> ids;
    for (const auto& entry : values)
        ids.push_back (entry.first);

    if (onMessageThread)
    {
        announce (ids);
        ids.clear();
    }

    {
        const juce::SpinLock::ScopedLockType hold (lock);

        for (auto id : ids)
            if (std::find (waiting.parameters.begin(), waiting.parameters.end(), id) == waiting.parameters.end())
                waiting.parameters.push_back (id);

        for (const auto& setting : restored.settings)
        {
            waiting.settings.erase (std::remove_if (waiting.settings.begin(), waiting.settings.end(),
                                                    [&] (const auto& s) { return s.first == setting.first; }),
                                    waiting.settings.end());
            waiting.settings.push_back (setting);
        }

        ++waiting.generation;
    }

    triggerAsyncUpdate();
}

void StateRestoreHandOver::restorePreset (const void* data, int sizeInBytes)
{
    handleUpdateNowIfNeeded();
    manager.setStateInformation (data, sizeInBytes);
}

void StateRestoreHandOver::writeState (juce::MemoryBlock& destData) const
{
    // The waiting settings are read first: they leave only once they are in the store.
    std::vector<std::pair<int, juce::var>> settings;
    {
        const juce::SpinLock::ScopedLockType hold (lock);
        settings = waiting.settings;
    }

    auto values = manager.takeSnapshot();

    for (const auto& [id, value] : settings)
        if (juce::isPositiveAndBelow (id, (int) values.settings.size()))
            values.settings[(size_t) id] = value;

    StateFormat::writeBlock (values, destData);
}

void StateRestoreHandOver::handleAsyncUpdate()
{
    Waiting taken;
    {
        const juce::SpinLock::ScopedLockType hold (lock);
        taken = waiting;
    }

    announce (taken.parameters);

    // After the parameters, as a restore made here orders them.
    for (const auto& [id, value] : taken.settings)
    {
        if (auto* barrier = manager.getSettingBarrier (id))
        {
            barrier->setParamValue (value);
            barrier->applyNow();
        }
    }

    // Kept when another restore came meanwhile: its own callback tells it.
    const juce::SpinLock::ScopedLockType hold (lock);

    if (waiting.generation == taken.generation)
        waiting = {};
}

void StateRestoreHandOver::announce (const std::vector<int>& ids)
{
    auto* source = &juce::HvDawParameter::hostRestoreSource();

    for (auto id : ids)
    {
        manager.beginParamGesture (source, id);
        manager.notifyStoredValue (source, id);
        manager.endParamGesture (source, id);
    }
}
