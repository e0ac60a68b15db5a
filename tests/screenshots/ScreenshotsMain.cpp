// Opens the plug-in's editor in windows on an X server in the states a user meets, keeps a
// picture of the screen of each, and checks on them what a person would notice at once.
//
//   Eq713kScreenshots [--output <folder>]
//
// Needs an X display with the XTest extension and no window manager: run it through
// tests/support/with-xvfb.sh. Writes the pictures as PNG files into the folder (by default
// "screenshots" in the working folder), prints their paths, and exits with 0 when every check
// passed.

#include "ScreenshotSession.h"

#include "support/midiworld/VirtualMidiWorld.h"
#include "support/xserver/XServerProbe.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{

/** Counts the framework's assertions (logged in Debug builds) and shows each. */
class AssertionCountingLogger : public juce::Logger
{
public:
    int assertions = 0;

private:
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            ++assertions;

        std::cerr << message << std::endl;
    }
};

juce::File outputFolder (const juce::StringArray& args)
{
    const auto i = args.indexOf ("--output");
    const auto path = i >= 0 && i + 1 < args.size() ? args[i + 1] : juce::String ("screenshots");
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

int run (const juce::StringArray& args)
{
    const XServerProbe screen;

    if (! screen.isOpen())
    {
        std::cout << "FAIL no X display with the XTest extension (run through tests/support/with-xvfb.sh)" << std::endl;
        return 1;
    }

    AssertionCountingLogger logger;
    juce::Logger::setCurrentLogger (&logger);

    screenshots::ScreenshotSession session (screen, outputFolder (args));
    auto failures = session.run();

    VirtualMidiWorld::reset();
    juce::Logger::setCurrentLogger (nullptr);

    if (logger.assertions > 0)
    {
        std::cout << "FAIL " << logger.assertions << " JUCE assertions" << std::endl;
        ++failures;
    }

    std::cout << "Screenshots:\n";

    for (const auto& file : session.getWrittenFiles())
        std::cout << "    " << file << "\n";

    std::cout << (failures == 0 ? "All checks passed" : juce::String (failures) + " failed") << std::endl;
    return failures == 0 ? 0 : 1;
}

} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    // This thread is the message thread.
    juce::ScopedJuceInitialiser_GUI juce;
    return run (args);
}
