#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{

/** Turns every JUCE assertion into a failure of the test that hit it. */
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

} // namespace

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
