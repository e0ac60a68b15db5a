#include "core/StateXmlReader.h"

#include <cstring>

namespace
{

using juce::juce_wchar;
using Element = StateXmlReader::Element;

/** The characters the framework's XML parser takes into a name. */
bool isNameCharacter (juce_wchar c)
{
    if (c < 160)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '_' || c == '-' || c == ':' || c == '.';

    return juce::CharacterFunctions::isLetterOrDigit (c);
}

class Parser
{
public:
    explicit Parser (const juce::String& text)
    {
        chars.reserve ((size_t) text.length());

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
            chars.push_back (p.getAndAdvance());
    }

    std::unique_ptr<Element> document()
    {
        if (! skipSpaceAndMarkup() || lookingAt ("<!DOCTYPE") || peek() != '<')
            return {};

        bool isEmptyElement = false;
        auto root = startTag (isEmptyElement);

        if (root == nullptr || isEmptyElement)
            return root;

        // The open elements, innermost last; the tree owns them.
        std::vector<Element*> open { root.get() };

        while (! open.empty())
        {
            if (! skipSpaceAndMarkup())
                return {};

            if (peek() != '<')
            {
                if (! text())
                    return {};

                continue;
            }

            if (peek (1) == '/')
            {
                // As the framework's parser does, the closing tag's name is not compared.
                if (! skipPast (">"))
                    return {};

                open.pop_back();
                continue;
            }

            if (lookingAt ("<![CDATA["))
            {
                pos += 9;
                if (! skipPast ("]]>"))
                    return {};

                continue;
            }

            auto child = startTag (isEmptyElement);
            if (child == nullptr)
                return {};

            auto* element = child.get();
            open.back()->children.push_back (std::move (child));

            if (! isEmptyElement)
            {
                if ((int) open.size() >= StateXmlReader::maxDepth)
                    return {};

                open.push_back (element);
            }
        }

        return root;
    }

private:
    juce_wchar peek (size_t offset = 0) const noexcept
    {
        return pos + offset < chars.size() ? chars[pos + offset] : 0;
    }

    bool atEnd() const noexcept { return pos >= chars.size(); }

    bool lookingAt (const char* ascii) const noexcept
    {
        for (size_t i = 0; ascii[i] != 0; ++i)
            if (peek (i) != (juce_wchar) (juce::uint8) ascii[i])
                return false;

        return true;
    }

    bool lookingAtIgnoringCase (const char* ascii) const noexcept
    {
        for (size_t i = 0; ascii[i] != 0; ++i)
            if (juce::CharacterFunctions::toLowerCase (peek (i)) != (juce_wchar) (juce::uint8) ascii[i])
                return false;

        return true;
    }

    /** Moves past the next occurrence of the text; false when there is none. */
    bool skipPast (const char* ascii) noexcept
    {
        for (; ! atEnd(); ++pos)
        {
            if (lookingAt (ascii))
            {
                pos += std::strlen (ascii);
                return true;
            }
        }

        return false;
    }

    /** White space, comments and processing instructions, as the framework's parser skips
        them between tokens; false when the text ends or a comment is never closed. */
    bool skipSpaceAndMarkup() noexcept
    {
        for (;;)
        {
            while (! atEnd() && juce::CharacterFunctions::isWhitespace (peek()))
                ++pos;

            if (atEnd())
                return false;

            if (lookingAt ("<!--"))
            {
                pos += 4;
                if (! skipPast ("-->"))
                    return false;
            }
            else if (lookingAt ("<?"))
            {
                pos += 2;
                if (! skipPast ("?>"))
                    return false;
            }
            else
            {
                return true;
            }
        }
    }

    juce::String textBetween (size_t start, size_t end) const
    {
        return juce::String (juce::CharPointer_UTF32 (chars.data() + start), juce::CharPointer_UTF32 (chars.data() + end));
    }

    size_t name() noexcept
    {
        const auto start = pos;
        while (isNameCharacter (peek()))
            ++pos;

        return pos - start;
    }

    /** At a '<': the element's name and attributes, up to and including its "/>" or ">". */
    std::unique_ptr<Element> startTag (bool& isEmptyElement)
    {
        ++pos;

        while (! atEnd() && juce::CharacterFunctions::isWhitespace (peek()))
            ++pos;

        const auto nameStart = pos;
        if (name() == 0 || ++numElements > StateXmlReader::maxElements)
            return {};

        auto element = std::make_unique<Element>();
        element->tagName = textBetween (nameStart, pos);

        for (;;)
        {
            if (! skipSpaceAndMarkup())
                return {};

            if (peek() == '/' && peek (1) == '>')
            {
                pos += 2;
                isEmptyElement = true;
                return element;
            }

            if (peek() == '>')
            {
                ++pos;
                isEmptyElement = false;
                return element;
            }

            const auto attributeStart = pos;
            if (name() == 0)
                return {};

            const auto attributeEnd = pos;

            if (! skipSpaceAndMarkup() || peek() != '=')
                return {};

            ++pos;

            if (! skipSpaceAndMarkup())
                return {};

            juce::String value;
            if (! quoted (value) || (int) element->attributes.size() >= StateXmlReader::maxAttributesPerElement)
                return {};

            element->attributes.emplace_back (textBetween (attributeStart, attributeEnd), value);
        }
    }

    bool quoted (juce::String& value)
    {
        const auto quote = peek();
        if (quote != '"' && quote != '\'')
            return false;

        ++pos;
        std::vector<juce_wchar> decoded;

        for (;;)
        {
            if (atEnd())
                return false;

            auto c = chars[pos++];

            if (c == quote)
                break;

            if (c == '&' && ! reference (c))
                return false;

            decoded.push_back (c);
        }

        value = juce::String (juce::CharPointer_UTF32 (decoded.data()), juce::CharPointer_UTF32 (decoded.data() + decoded.size()));
        return true;
    }

    /** Character data up to the next '<'; only its references need checking. */
    bool text() noexcept
    {
        while (! atEnd() && peek() != '<')
        {
            auto c = chars[pos++];

            if (c == '&' && ! reference (c))
                return false;
        }

        return ! atEnd();
    }

    /** After a '&': one of the five predefined references or a numeric one naming a
        character. Any other name would need a DOCTYPE. */
    bool reference (juce_wchar& result) noexcept
    {
        static constexpr struct { const char* name; char character; } predefined[] = {
            { "amp;", '&' }, { "quot;", '"' }, { "apos;", '\'' }, { "lt;", '<' }, { "gt;", '>' }
        };

        for (const auto& entity : predefined)
        {
            if (lookingAtIgnoringCase (entity.name))
            {
                pos += std::strlen (entity.name);
                result = (juce_wchar) entity.character;
                return true;
            }
        }

        if (peek() != '#')
            return false;

        ++pos;

        const auto hex = peek() == 'x' || peek() == 'X';
        if (hex)
            ++pos;

        juce::uint64 code = 0;
        int numDigits = 0;

        for (;; ++pos)
        {
            const auto digit = hex ? juce::CharacterFunctions::getHexDigitValue (peek())
                                   : (peek() >= '0' && peek() <= '9' ? (int) (peek() - '0') : -1);
            if (digit < 0)
                break;

            // The framework's parser reads at most 8 hex or 12 decimal digits.
            if (++numDigits > (hex ? 8 : 12))
                return false;

            code = code * (hex ? 16u : 10u) + (juce::uint64) digit;
        }

        if (numDigits == 0 || peek() != ';' || code == 0 || code > 0x10ffff)
            return false;

        ++pos;
        result = (juce_wchar) code;
        return true;
    }

    std::vector<juce_wchar> chars;
    size_t pos = 0;
    int numElements = 0;
};

} // namespace

const juce::String* StateXmlReader::Element::findAttribute (juce::StringRef name) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return &attribute.second;

    return nullptr;
}

const StateXmlReader::Element* StateXmlReader::Element::findChildIgnoringCase (juce::StringRef tag) const
{
    for (const auto& child : children)
        if (child->tagName.equalsIgnoreCase (tag))
            return child.get();

    return nullptr;
}

std::unique_ptr<StateXmlReader::Element> StateXmlReader::parse (const juce::String& text)
{
    return Parser (text).document();
}
