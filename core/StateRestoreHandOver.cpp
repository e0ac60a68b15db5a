#include "core/StateRestoreHandOver.h"

#include "core/Eq713kParamsManager.h"
#include "core/StateBlockCheck.h"

StateRestoreHandOver::StateRestoreHandOver (Eq713kParamsManager& owner) : manager (owner)
{
}

StateRestoreHandOver::~StateRestoreHandOver()
{
    cancelPendingUpdate();
}

void StateRestoreHandOver::restore (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    if (juce::MessageManager::existsAndIsCurrentThread())
    {
        // A block handed over earlier is older than this one and goes first.
        handleUpdateNowIfNeeded();
        manager.setStateInformation (data, sizeInBytes);
        return;
    }

    // Too large to be a state: it would restore nothing, so it is not worth a copy.
    if ((size_t) sizeInBytes > StateBlockCheck::maxBlockBytes)
        return;

    auto copy = std::make_unique<juce::MemoryBlock> (data, (size_t) sizeInBytes);
    {
        const juce::SpinLock::ScopedLockType hold (lock);
        std::swap (pending, copy);
    }

    // A block replaced before the message thread took it is released outside the lock.
    copy.reset();
    triggerAsyncUpdate();
}

void StateRestoreHandOver::handleAsyncUpdate()
{
    std::unique_ptr<juce::MemoryBlock> block;
    {
        const juce::SpinLock::ScopedLockType hold (lock);
        std::swap (pending, block);
    }

    if (block != nullptr)
        manager.setStateInformation (block->getData(), (int) block->getSize());
}
