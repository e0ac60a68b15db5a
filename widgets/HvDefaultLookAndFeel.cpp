#include "widgets/HvDefaultLookAndFeel.h"

namespace juce
{

HvDefaultLookAndFeel::HvDefaultLookAndFeel()
{
    // Faces resolved before now came from the previous default.
    Typeface::clearTypefaceCache();
    LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
}

HvDefaultLookAndFeel::~HvDefaultLookAndFeel()
{
    if (&LookAndFeel::getDefaultLookAndFeel() == &lookAndFeel)
        LookAndFeel::setDefaultLookAndFeel (nullptr);

    Typeface::clearTypefaceCache();
}

} // namespace juce
