#pragma once

#include "widgets/HvLookAndFeel.h"

namespace juce
{

/** Makes the panel's HvLookAndFeel the framework's default look-and-feel for as long as anyone
    holds it, so that every font the kit and the editor build the ordinary way (Font (h,
    Font::bold) and so on) is drawn in the embedded Lato faces, whatever fonts the machine has.

    How to use it: hold a `SharedResourcePointer<HvDefaultLookAndFeel>` for as long as you draw
    or measure text - the editor as its first member (fonts built before it is held may keep the
    system face), a test in its fixture. All holders share one instance; the last one to go
    restores the framework's own default. */
class HvDefaultLookAndFeel
{
public:
    /** Clears the typeface cache and installs its own HvLookAndFeel as the default. */
    HvDefaultLookAndFeel();

    /** Restores the framework's default if this one is still installed, and clears the typeface
        cache again. */
    ~HvDefaultLookAndFeel();

    HvLookAndFeel& getLookAndFeel() noexcept { return lookAndFeel; }

private:
    HvLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvDefaultLookAndFeel)
};

} // namespace juce
