#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <utility>
#include <vector>

/** Reads the XML text of the older state forms into a small element tree.

    The framework's XML parser recurses once per nesting level, expands the entities of a
    DOCTYPE without bound, and in debug builds asserts on element names that start with a
    digit, which is how the older forms number their presets and parameters. This reader
    takes the plain subset those forms are written in (elements, quoted attributes, text,
    comments, processing instructions, CDATA sections, the predefined and the numeric
    character references; no DOCTYPE), walks the text once without recursion and gives up
    at its limits. Text content is checked but not kept.
*/
class StateXmlReader
{
public:
    struct Element
    {
        juce::String tagName;
        std::vector<std::pair<juce::String, juce::String>> attributes;
        std::vector<std::unique_ptr<Element>> children;

        /** The value of the first attribute with exactly this name, or nullptr. */
        const juce::String* findAttribute (juce::StringRef name) const;

        /** The first child whose tag name matches, ignoring case, or nullptr. */
        const Element* findChildIgnoringCase (juce::StringRef tag) const;
    };

    /** The older forms nest 5 deep and hold a few thousand elements at most. */
    static constexpr int maxDepth = 16;
    static constexpr int maxElements = 16384;
    static constexpr int maxAttributesPerElement = 64;

    /** The root element, or nullptr when the text holds none that this reader accepts.
        What follows the root element is ignored, as the framework's parser ignores it. */
    static std::unique_ptr<Element> parse (const juce::String& text);
};
