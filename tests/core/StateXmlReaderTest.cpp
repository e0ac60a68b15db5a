#include "core/StateXmlReader.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string repeat (const std::string& text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

std::string nestedElements (int depth)
{
    return repeat ("<e>", depth) + repeat ("</e>", depth);
}

std::string elementWithAttributes (int count)
{
    std::string text = "<e";
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string (i) + "=\"1\"";
    return text + "/>";
}

TEST (StateXmlReaderTest, ReadsTheSubsetTheOlderStatesAreWrittenIn)
{
    const auto root = StateXmlReader::parse (juce::String (juce::CharPointer_UTF8 (R"(
        <?xml version="1.0" encoding="UTF-8"?>
        <!-- a comment before the root -->
        <State active = '2' name="a &amp; b &lt;&GT; &quot;&apos; &#65;&#x42;&#xe9;">
          text with &amp; references <![CDATA[ <not> an element ]]>
          <?processing instruction?>
          <0 value="0.5"/>
          <  12abc >inside<!-- <x> --></12abc>
          <Presets><p/></Presets>
        </State>
        trailing text and <unclosed elements after the root)")));

    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->tagName, "State");
    ASSERT_NE (root->findAttribute ("active"), nullptr);
    EXPECT_EQ (*root->findAttribute ("active"), "2");
    EXPECT_EQ (root->findAttribute ("Active"), nullptr);
    EXPECT_EQ (*root->findAttribute ("name"), juce::String (juce::CharPointer_UTF8 ("a & b <> \"' AB\xc3\xa9")));

    ASSERT_EQ (root->children.size(), 3u);
    EXPECT_EQ (root->children[0]->tagName, "0");
    EXPECT_EQ (*root->children[0]->findAttribute ("value"), "0.5");
    EXPECT_EQ (root->children[1]->tagName, "12abc");
    EXPECT_EQ (root->findChildIgnoringCase ("presets"), root->children[2].get());
    EXPECT_EQ (root->findChildIgnoringCase ("parameters"), nullptr);
}

TEST (StateXmlReaderTest, TextOutsideTheSubsetOrItsLimitsGivesNoElement)
{
    const struct { const char* what; std::string text; } cases[] = {
        { "empty", "" },
        { "only white space", "  \n" },
        { "not XML", "HV_EQ713K_3_0_0" },
        { "a DOCTYPE", "<!DOCTYPE s><s/>" },
        { "unclosed root", "<s><a/>" },
        { "unclosed comment", "<s><!-- </s>" },
        { "unclosed CDATA", "<s><![CDATA[ </s>" },
        { "unclosed attribute value", "<s a=\"1/>" },
        { "attribute without value", "<s a/>" },
        { "unquoted attribute value", "<s a=1/>" },
        { "no tag name", "<s>< /></s>" },
        { "illegal character in a tag", "<s \"a\"/>" },
        { "an entity a DOCTYPE would define", "<s a=\"&x;\"/>" },
        { "a reference to character 0", "<s>&#0;</s>" },
        { "a reference past the last character", "<s a=\"&#x110000;\"/>" },
        { "a reference without digits", "<s a=\"&#;\"/>" },
        { "a reference without its semicolon", "<s>&amp</s>" },
        { "too deep", nestedElements (StateXmlReader::maxDepth + 1) },
        { "too many elements", "<s>" + repeat ("<e/>", StateXmlReader::maxElements) + "</s>" },
        { "too many attributes", elementWithAttributes (StateXmlReader::maxAttributesPerElement + 1) },
    };

    for (const auto& c : cases)
        EXPECT_EQ (StateXmlReader::parse (juce::String (c.text)), nullptr) << c.what;

    EXPECT_NE (StateXmlReader::parse (juce::String (nestedElements (StateXmlReader::maxDepth))), nullptr);
    EXPECT_NE (StateXmlReader::parse (juce::String ("<s>" + repeat ("<e/>", StateXmlReader::maxElements - 1) + "</s>")), nullptr);
    EXPECT_NE (StateXmlReader::parse (juce::String (elementWithAttributes (StateXmlReader::maxAttributesPerElement))), nullptr);
}

} // namespace
