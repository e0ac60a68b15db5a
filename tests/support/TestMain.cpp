#include "support/AssertionFailingLogger.h"

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    int result = 0;
    {
        // The test's thread is the message thread.
        juce::ScopedJuceInitialiser_GUI juce;
        AssertionFailingLogger logger;
        juce::Logger::setCurrentLogger (&logger);

        result = RUN_ALL_TESTS();

        juce::Logger::setCurrentLogger (nullptr);
    }
    return result;
}
