#pragma once

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include <iostream>

/** Turns every JUCE assertion into a failure of the test that hit it; other messages go to
    the error stream. */
class AssertionFailingLogger : public juce::Logger
{
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            ADD_FAILURE() << message;
        else
            std::cerr << message << std::endl;
    }
};
