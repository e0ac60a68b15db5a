#include "editor/EQ700K_MainView.h"

#include "core/ParamData.h"
#include "widgets/HV_Knob_LAF.h"

#include "support/ChannelStrip.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

using testing_support::centreIn;
using testing_support::ChannelStripParts;
using testing_support::coloursNear;
using testing_support::describe;
using testing_support::partsOf;
using testing_support::pixelAt;

namespace
{

using ChannelViewLayout = testing_support::ChannelStripTest;

std::vector<std::pair<std::string, juce::Component*>> namedChildren (const ChannelStripParts& p)
{
    return { { "faceplate", p.faceplate },     { "HI ATTEN", p.hiAttenKnob },  { "HI BOOST", p.hiBoostKnob },
             { "LO ATTEN", p.loAttenKnob },    { "LO BOOST", p.loBoostKnob },  { "CPS", p.cpsSwitch },
             { "BOOST KCS", p.boostKcsSwitch }, { "HI BW", p.hiBwSwitch },      { "ATTEN KCS", p.attenKcsSwitch },
             { "ENGAGE", p.engageButton },     { "CH.", p.channelSwitch },     { "USB", p.usbLamp },
             { "CLIP", p.clipLamps },          { "display", p.display },       { "PRESET", p.presetKnob },
             { "window", p.windowButton },     { "overlay", p.overlay } };
}

/** The name of a child that the view owns as a member; satellites (labels, scale marks) have
    none. */
std::string memberName (const ChannelStripParts& parts, juce::Component* child)
{
    for (const auto& [name, component] : namedChildren (parts))
        if (component == child)
            return name;
    return {};
}

} // namespace

// Fractions of the width and height, products rounded with halves to even (at 325: 0.42 W =
// 136.5 -> 136, 0.26 W = 84.5 -> 84; at 550: 0.03 W = 16.5 -> 16, 0.55 W = 302.5 -> 302,
// 0.11 W = 60.5 -> 60, 0.19 W = 104.5 -> 104, 0.15 W = 82.5 -> 82, 0.63 W = 346.5 -> 346; at
// 950: 0.79 H = 750.5 -> 750); the knob rows are fractions of the width.
TEST_F (ChannelViewLayout, EveryChildsBoundsAtTwoSizes)
{
    using R = juce::Rectangle<int>;
    const struct Row
    {
        const char* child;
        R at325x570, at550x950;
    } rows[] = {
        { "faceplate", { 0, 0, 325, 570 }, { 0, 0, 550, 950 } },
        { "HI ATTEN", { 10, 66, 136, 136 }, { 16, 112, 231, 231 } },
        { "HI BOOST", { 179, 66, 136, 136 }, { 302, 112, 231, 231 } },
        { "LO ATTEN", { 10, 274, 136, 136 }, { 16, 464, 231, 231 } },
        { "LO BOOST", { 179, 274, 136, 136 }, { 302, 464, 231, 231 } },
        { "CPS", { 21, 193, 72, 72 }, { 35, 322, 121, 121 } },
        { "BOOST KCS", { 98, 193, 84, 72 }, { 165, 322, 143, 121 } },
        { "HI BW", { 195, 193, 54, 72 }, { 330, 322, 91, 121 } },
        { "ATTEN KCS", { 261, 193, 49, 72 }, { 441, 322, 82, 121 } },
        { "ENGAGE", { 12, 398, 62, 49 }, { 20, 663, 104, 82 } },
        { "CH.", { 148, 395, 146, 49 }, { 251, 658, 248, 82 } },
        { "USB", { 120, 395, 28, 49 }, { 204, 658, 47, 82 } },
        { "CLIP", { 205, 395, 36, 49 }, { 346, 658, 60, 82 } },
        { "display", { 120, 450, 103, 64 }, { 202, 750, 175, 109 } },
        { "PRESET", { 205, 416, 136, 136 }, { 346, 694, 231, 231 } },
        { "window", { 289, 0, 36, 36 }, { 490, 0, 60, 60 } },
        { "overlay", { 0, 0, 325, 570 }, { 0, 0, 550, 950 } },
    };

    auto view = makeView (0);
    const auto children = namedChildren (partsOf (*view));
    ASSERT_EQ (children.size(), std::size (rows));

    for (const auto large : { false, true })
    {
        view->setSize (large ? 550 : 325, large ? 950 : 570);

        for (size_t i = 0; i < children.size(); ++i)
        {
            const auto& [name, child] = children[i];
            ASSERT_EQ (name, rows[i].child);
            ASSERT_NE (child, nullptr) << name;
            EXPECT_EQ (child->getBounds(), large ? rows[i].at550x950 : rows[i].at325x570)
                << name << (large ? " at 550 x 950" : " at 325 x 570");
        }
    }
}

// Added in the listed order, the later on top. The kit's switches and buttons keep themselves on
// top once shown, in the order they were shown; then the clip lamps, the USB lamp and the overlay
// are kept on top, in that order. Satellites (knob scales, names, position labels) lie between.
TEST_F (ChannelViewLayout, ChildrenStackWithTheOverlayOnTopAndHidden)
{
    auto view = makeView (0);
    const auto parts = partsOf (*view);

    std::vector<std::string> stack;
    for (auto* child : view->getChildren())
        if (const auto name = memberName (parts, child); ! name.empty())
            stack.push_back (name);

    const std::vector<std::string> expected { "faceplate", "HI ATTEN", "HI BOOST", "LO ATTEN", "LO BOOST", "display",
                                              "PRESET",    "window",   "CPS",      "BOOST KCS", "ATTEN KCS", "HI BW",
                                              "ENGAGE",    "CH.",      "CLIP",     "USB",       "overlay" };
    EXPECT_EQ (stack, expected);

    EXPECT_EQ (view->getChildren().getLast(), parts.overlay);
    EXPECT_FALSE (parts.overlay->isVisible());
    for (auto* onTop : std::initializer_list<juce::Component*> { parts.clipLamps, parts.usbLamp, parts.overlay })
        EXPECT_TRUE (onTop->isAlwaysOnTop());

    // The PRESET knob is above the display it overlaps.
    const auto presetOverDisplay = parts.presetKnob->getBounds().getIntersection (parts.display->getBounds()).getCentre();
    EXPECT_EQ (view->getComponentAt (presetOverDisplay.toFloat()), parts.presetKnob);
}

TEST_F (ChannelViewLayout, TheShownOverlayDarkensButLetsEveryClickThrough)
{
    auto view = makeView (0);
    const auto parts = partsOf (*view);
    const auto before = testing_support::renderComponent (*view);

    parts.overlay->setVisible (true);

    for (auto* control : std::initializer_list<juce::Component*> { parts.hiAttenKnob, parts.loBoostKnob, parts.presetKnob,
                                                                   parts.windowButton })
    {
        const auto reached = view->getComponentAt (centreIn (*view, *control));
        EXPECT_TRUE (reached == control || control->isParentOf (reached)) << memberName (parts, control);
    }

    // Black at 0x66 over the faceplate, dark plate and light plate alike.
    const auto after = testing_support::renderComponent (*view);
    for (const auto at : { juce::Point<int> (5, 150), juce::Point<int> (40, 480) })
    {
        const auto expected = pixelAt (before, at.x, at.y).overlaidWith (juce::Colour (0x66000000));
        EXPECT_TRUE (coloursNear (pixelAt (after, at.x, at.y), expected, 2))
            << at.toString() << ": " << describe (pixelAt (after, at.x, at.y)) << " for " << describe (expected);
    }
}

// The faceplate is drawn stretched over the view; every view shares one decoded picture.
TEST_F (ChannelViewLayout, TheFaceplateIsSharedAndStretchedOverTheView)
{
    auto first = makeView (0);
    auto second = makeView (1);
    const auto& image = partsOf (*first).faceplate->getImage();

    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 650);
    EXPECT_EQ (image.getHeight(), 1140);
    EXPECT_EQ (image, partsOf (*second).faceplate->getImage()) << "one picture, not two copies";

    // Plain plate, away from any control, where the picture is even: the view shows the picture
    // at half scale.
    const auto drawn = testing_support::renderComponent (*first);
    for (const auto at : { juce::Point<int> (5, 150), juce::Point<int> (40, 480), juce::Point<int> (300, 560) })
    {
        const auto expected = pixelAt (image, at.x * 2, at.y * 2);
        EXPECT_TRUE (coloursNear (pixelAt (drawn, at.x, at.y), expected, 12))
            << at.toString() << ": " << describe (pixelAt (drawn, at.x, at.y)) << " for " << describe (expected);
    }
}

// The knobs show their parameter's value texts, read typed texts as the parameter does and
// reset to its default; the PRESET knob has no pointer and no scale.
TEST_F (ChannelViewLayout, KnobsAreSetUpForTheirParameters)
{
    auto view = makeView (1);
    const auto parts = partsOf (*view);

    const struct
    {
        HV_Knob_s500* knob;
        const char* name;
        int id;
    } knobs[] = {
        { parts.hiAttenKnob, "ATTEN", ParamData::HI_ATTEN_2 },
        { parts.hiBoostKnob, "BOOST", ParamData::HI_BOOST_2 },
        { parts.loAttenKnob, "ATTEN", ParamData::LO_ATTEN_2 },
        { parts.loBoostKnob, "BOOST", ParamData::LO_BOOST_2 },
    };

    for (const auto& k : knobs)
    {
        SCOPED_TRACE (k.id);
        EXPECT_EQ (k.knob->getNameLabel().getText(), k.name);
        EXPECT_EQ (k.knob->getScaleLabels().size(), 11);
        EXPECT_FLOAT_EQ ((float) k.knob->getInterval(), 0.01f);
        EXPECT_EQ (k.knob->getTextFromValue (0.5), "5.0");
        EXPECT_TRUE (k.knob->isDoubleClickReturnEnabled());
        EXPECT_EQ (k.knob->getDoubleClickReturnValue(), 0.0);
        EXPECT_TRUE (k.knob->getVelocityModeIsSwappable());

        // Typed decibels on the LO knobs; the HI knobs keep their value.
        params.setParamValue (nullptr, k.id, 0.25f);
        const auto isLo = k.id == ParamData::LO_ATTEN_2 || k.id == ParamData::LO_BOOST_2;
        EXPECT_NEAR (k.knob->getValueFromText ("6 dB"), isLo ? 0.7 : 0.25, 1e-6);
    }

    EXPECT_EQ (parts.presetKnob->getNameLabel().getText(), "PRESET");
    EXPECT_EQ (parts.presetKnob->getNameLabel().findColour (juce::Label::textColourId), juce::Colours::black);
    EXPECT_TRUE (parts.presetKnob->getScaleLabels().isEmpty());
    EXPECT_FALSE (parts.presetKnob->drawPointer);
    EXPECT_FALSE (parts.presetKnob->getKnobLaf()->drawPointer);
}

// The whole strip at its own size and at twice it, with some values away from their defaults
// and the display lit, written next to the test program for a look.
TEST_F (ChannelViewLayout, RendersTheWholeStripAtTwoScales)
{
    params.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 0);
    params.setParamValue (nullptr, ParamData::HI_ATTEN_1, 0.3f);
    params.setParamValue (nullptr, ParamData::HI_BOOST_1, 0.8f);
    params.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.55f);
    params.setParamValue (nullptr, ParamData::LO_CPS_1, 1.0f);
    params.setParamValue (nullptr, ParamData::HI_KCS_BOOST_1, 0.17f);
    params.setParamValue (nullptr, ParamData::HI_BANDWIDTH_1, 0.0f);
    params.setParamValue (nullptr, ParamData::HI_KCS_ATTEN_1, 0.5f);
    params.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
    params.setNonAutomatableParamValue (nullptr, ParamData::CLIPPER_DIODE_STATE_R, true);

    auto view = makeView (0);
    const auto parts = partsOf (*view);
    parts.hiBoostKnob->onKnobMouseEnter(); // lights the display with "8.0"

    const auto folder = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();

    for (const auto scale : { 1, 2 })
    {
        view->setSize (325 * scale, 570 * scale);
        const auto image = testing_support::renderComponent (*view, juce::Colours::black);

        const auto file = folder.getChildFile ("ChannelStrip_" + juce::String (325 * scale) + "x" + juce::String (570 * scale) + ".png");
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk()) << file.getFullPathName();
        EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (image, out));

        // Some segment of the display is lit red.
        auto litRed = false;
        const auto displayBounds = parts.display->getBounds();
        for (int y = displayBounds.getY(); y < displayBounds.getBottom() && ! litRed; ++y)
            for (int x = displayBounds.getX(); x < displayBounds.getRight() && ! litRed; ++x)
            {
                const auto c = pixelAt (image, x, y);
                litRed = c.getRed() > 200 && c.getGreen() < 60 && c.getBlue() < 60;
            }

        EXPECT_TRUE (litRed) << "at scale " << scale;
        EXPECT_FALSE (testing_support::findInvalidPremultipliedPixel (image).has_value());
    }
}
