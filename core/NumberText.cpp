#include "core/NumberText.h"

#include <locale>
#include <sstream>

namespace
{

std::ostringstream classicStream()
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    return stream;
}

} // namespace

juce::String NumberText::fixed (double value, int decimals)
{
    auto stream = classicStream();
    stream.setf (std::ios_base::fixed, std::ios_base::floatfield);
    stream.precision (decimals);
    stream << value;
    return juce::String (stream.str());
}

juce::String NumberText::general (double value)
{
    auto stream = classicStream();
    stream << value;
    return juce::String (stream.str());
}
