#include "core/MessageThreadHold.h"

void MessageThreadHold::hold()
{
    if (lock != nullptr || juce::MessageManager::existsAndIsCurrentThread())
        return;

    // Without a message manager there is no other thread to keep still.
    if (juce::MessageManager::getInstanceWithoutCreating() == nullptr)
        return;

    lock = std::make_unique<juce::MessageManagerLock>();
}
