#include "support/Rendering.h"
#include "widgets/HV_Knob_LAF_s500_Gain.h"
#include "widgets/HV_Knob_s500.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::mouseEventAt;

namespace
{

const juce::StringArray editorScale { "0", ".", "2", ".", "4", ".", "6", ".", "8", ".", "10" };

void defineAsInTheEditor (HV_Knob& knob, const juce::String& name = "BOOST")
{
    knob.defineSliderPrms (name, editorScale, 0.0f, 1.0f, 0.01f, 0.0f, 0.1f);
}

/** A defined knob, laid out in a panel at an offset, the order the editor follows. */
struct KnobOnPanel
{
    explicit KnobOnPanel (HV_Knob_s500::Orientation orientation = HV_Knob_s500::arcLeftLabelRight,
                          juce::Rectangle<int> bounds = { 30, 40, 136, 136 })
        : knob (orientation, false)
    {
        panel.setBounds (0, 0, 400, 400);
        panel.setVisible (true);
        defineAsInTheEditor (knob);
        panel.addAndMakeVisible (knob);
        knob.setBounds (bounds);
    }

    juce::Component panel;
    HV_Knob_s500 knob;
};

/** Counts what the knob reports to its owner, and whether a drag ever ended before it began. */
struct GestureLog
{
    explicit GestureLog (juce::Slider& slider)
    {
        slider.onDragStart = [this] { ++starts; };
        slider.onValueChange = [this] { ++changes; };
        slider.onDragEnd = [this]
        {
            ++ends;
            endedBeforeBegun = endedBeforeBegun || ends > starts;
        };
    }

    bool balanced() const { return starts == ends && ! endedBeforeBegun; }

    int starts = 0, changes = 0, ends = 0;
    bool endedBeforeBegun = false;
};

/** A press on a scale click area as a real one arrives: at the area first, then at the knob,
    which listens to the area (made-up events reach only the component they are given to). */
void pressArea (juce::Component& area, HV_Knob& knob)
{
    const auto press = mouseEventAt (area, area.getLocalBounds().getCentre().toFloat(),
                                     juce::ModifierKeys::leftButtonModifier);
    area.mouseDown (press);
    knob.mouseDown (press);
}

void releaseArea (juce::Component& area, HV_Knob& knob)
{
    const auto release = mouseEventAt (area, area.getLocalBounds().getCentre().toFloat());
    area.mouseUp (release);
    knob.mouseUp (release);
}

void clickArea (juce::Component& area, HV_Knob& knob)
{
    pressArea (area, knob);
    releaseArea (area, knob);
}

/** Where a mark at this radius lies in the panel, for mark i of the knob's arc. */
juce::Point<float> polarPointInParent (const HV_Knob& knob, int i, int numMarks, float radius)
{
    const auto arc = knob.getRotaryParameters();
    const auto angle = arc.startAngleRadians
                     + (float) i * (arc.endAngleRadians - arc.startAngleRadians) / (float) (numMarks - 1);
    const auto centre = knob.getBounds().toFloat().getCentre();
    return { centre.x + radius * std::sin (angle), centre.y - radius * std::cos (angle) };
}

} // namespace

// A full-range drag is 256 pixels, upwards to raise the value, clamped at the ends; every drag
// is one gesture.
TEST (HV_Knob_s500, DragsVerticallyOver256Pixels)
{
    struct Case
    {
        double start;
        float pixelsUp;
        double expected;
    };

    for (const auto& c : { Case { 0.5, 64.0f, 0.75 }, Case { 0.5, -64.0f, 0.25 }, Case { 0.0, 256.0f, 1.0 },
                           Case { 0.9, 64.0f, 1.0 }, Case { 0.1, -128.0f, 0.0 } })
    {
        KnobOnPanel onPanel;
        auto& knob = onPanel.knob;
        knob.setValue (c.start, juce::dontSendNotification);
        GestureLog log (knob);

        const juce::Point<float> from { 68.0f, 68.0f };
        const auto to = from.translated (0.0f, -c.pixelsUp);
        testing_support::pressAt (knob, from);
        testing_support::dragTo (knob, from, from.translated (0.0f, -c.pixelsUp / 2.0f));
        testing_support::dragTo (knob, from, to);
        testing_support::releaseAt (knob, from, to);

        EXPECT_NEAR (knob.getValue(), c.expected, 1e-7) << c.start << " moved " << c.pixelsUp;
        EXPECT_EQ (log.starts, 1);
        EXPECT_EQ (log.ends, 1);
        EXPECT_GE (log.changes, 1);
    }
}

// A click on a scale mark or its lamp moves the knob there with one change. The area's own
// gesture and the one the knob starts on the same press both end on the release.
TEST (HV_Knob_s500, AScaleMarkClickSetsItsValueInsideBalancedGestures)
{
    for (const auto onLamp : { false, true })
    {
        KnobOnPanel onPanel;
        auto& knob = onPanel.knob;
        GestureLog log (knob);

        auto& area = onLamp ? static_cast<juce::Component&> (*knob.getScaleLamps()[4])
                            : static_cast<juce::Component&> (*knob.getScaleLabels()[4]);
        pressArea (area, knob);
        EXPECT_EQ (log.changes, 1);
        EXPECT_GE (log.starts, 1);
        releaseArea (area, knob);

        EXPECT_NEAR (knob.getValue(), 0.4, 1e-7) << (onLamp ? "lamp" : "mark");
        EXPECT_EQ (log.changes, 1);
        EXPECT_TRUE (log.balanced()) << log.starts << " starts, " << log.ends << " ends";
    }
}

// Before its first layout a click area does nothing, even when the release comes after the
// layout; areas that go while held end their gestures.
TEST (HV_Knob_s500, ScaleMarkGesturesBalanceWhateverHappensDuringThePress)
{
    {
        juce::Component panel;
        HV_Knob_s500 knob (HV_Knob_s500::arcLeftLabelRight, false);
        defineAsInTheEditor (knob);
        panel.addAndMakeVisible (knob);
        GestureLog log (knob);

        auto& mark = *knob.getScaleLabels()[4];
        pressArea (mark, knob);
        knob.setBounds (30, 40, 136, 136);
        releaseArea (mark, knob);

        EXPECT_EQ (knob.getValue(), 0.0);
        EXPECT_EQ (log.changes, 0);
        EXPECT_TRUE (log.balanced()) << "first layout: " << log.starts << " starts, " << log.ends << " ends";
    }

    {
        KnobOnPanel onPanel;
        GestureLog log (onPanel.knob);
        pressArea (*onPanel.knob.getScaleLamps()[2], onPanel.knob);
        defineAsInTheEditor (onPanel.knob, "ATTEN");

        EXPECT_GE (log.starts, 1);
        EXPECT_TRUE (log.balanced()) << "scale replaced: " << log.starts << " starts, " << log.ends << " ends";
    }

    {
        auto onPanel = std::make_unique<KnobOnPanel>();
        GestureLog log (onPanel->knob);
        pressArea (*onPanel->knob.getScaleLabels()[6], onPanel->knob);
        onPanel.reset();

        EXPECT_GE (log.starts, 1);
        EXPECT_TRUE (log.balanced()) << "knob deleted: " << log.starts << " starts, " << log.ends << " ends";
    }
}

// Hits strictly inside the circle inscribed in the knob's width, centred on the integer half.
TEST (HV_Knob_s500, HitsOnlyInsideItsCircle)
{
    KnobOnPanel onPanel (HV_Knob_s500::arcLeftLabelRight, { 30, 40, 75, 75 });
    auto& knob = onPanel.knob;

    struct Case
    {
        int x, y;
        bool hits;
    };

    for (const auto& c : { Case { 37, 37, true }, Case { 37, 1, true }, Case { 37, 0, false }, Case { 1, 37, true },
                           Case { 0, 37, false }, Case { 73, 37, true }, Case { 74, 37, false }, Case { 62, 62, true },
                           Case { 64, 64, false }, Case { 2, 2, false }, Case { 72, 72, false } })
        EXPECT_EQ (knob.hitTest (c.x, c.y), c.hits) << c.x << ", " << c.y;

    // A click in the bounds' corner goes past the knob to the panel.
    EXPECT_EQ (testing_support::clickAt (onPanel.panel, { 32.0f, 42.0f }), &onPanel.panel);
    EXPECT_EQ (testing_support::clickAt (onPanel.panel, { 67.0f, 77.0f }), &knob);
}

TEST (HV_Knob_s500, HoverOverTheKnobOrItsMarksIsReported)
{
    KnobOnPanel onPanel;
    auto& knob = onPanel.knob;
    auto& mark = *knob.getScaleLabels()[3];

    // Unassigned callbacks are skipped.
    knob.mouseEnter (mouseEventAt (knob, { 68.0f, 68.0f }));
    knob.mouseExit (mouseEventAt (knob, { 68.0f, 68.0f }));

    int entered = 0, left = 0;
    knob.onKnobMouseEnter = [&] { ++entered; };
    knob.onKnobMouseExit = [&] { ++left; };

    knob.mouseEnter (mouseEventAt (knob, { 68.0f, 68.0f }));
    knob.mouseExit (mouseEventAt (knob, { 68.0f, 68.0f }));
    knob.mouseEnter (mouseEventAt (mark, { 1.0f, 1.0f })); // as the knob hears it from the mark
    EXPECT_EQ (entered, 2);
    EXPECT_EQ (left, 1);
}

// Undefined when it gets a parent, the knob defines itself: no name, 0..1 in steps of 0.01 and
// the marks "0" and "1", all shown in the parent.
TEST (HV_Knob_s500, DefinesItselfWithDefaultsWhenAddedUndefined)
{
    juce::Component panel;
    HV_Knob_s500 knob (HV_Knob_s500::arcRightLabelLeft, false);
    panel.addAndMakeVisible (knob);

    EXPECT_EQ (knob.getNameLabel().getText(), "");
    EXPECT_EQ (knob.getMinimum(), 0.0);
    EXPECT_EQ (knob.getMaximum(), 1.0);
    EXPECT_FLOAT_EQ ((float) knob.getInterval(), 0.01f);

    ASSERT_EQ (knob.getScaleLabels().size(), 2);
    ASSERT_EQ (knob.getScaleLamps().size(), 2);
    EXPECT_EQ (knob.getScaleLabels()[0]->text, "0");
    EXPECT_EQ (knob.getScaleLabels()[1]->text, "1");

    std::vector<juce::Component*> satellites { &knob.getNameLabel() };
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ (knob.getScaleLabels()[i]->value, (double) i);
        EXPECT_EQ (knob.getScaleLamps()[i]->value, (double) i);
        EXPECT_TRUE (knob.getScaleLabels()[i]->isActive);
        satellites.push_back (knob.getScaleLabels()[i]);
        satellites.push_back (knob.getScaleLamps()[i]);
    }

    EXPECT_EQ (panel.getNumChildComponents(), 6);
    for (auto* satellite : satellites)
    {
        EXPECT_EQ (satellite->getParentComponent(), &panel);
        EXPECT_TRUE (satellite->isVisible());
    }
}

// Defined again once in its parent and laid out, the knob shows its new scale there at once,
// ready to click; fewer than two labels keep the scale it has.
TEST (HV_Knob_s500, RedefinedInItsParentShowsTheNewScaleAtOnce)
{
    juce::Component panel;
    panel.setBounds (0, 0, 300, 300);
    HV_Knob_s500 knob (HV_Knob_s500::arcLeftLabelRight, false);
    panel.addAndMakeVisible (knob);
    knob.setBounds (30, 40, 136, 136);

    defineAsInTheEditor (knob);

    ASSERT_EQ (knob.getScaleLabels().size(), 11);
    EXPECT_EQ (panel.getNumChildComponents(), 1 + 1 + 22);
    for (auto* area : knob.getScaleLabels())
    {
        EXPECT_EQ (area->getParentComponent(), &panel);
        EXPECT_TRUE (area->isVisible());
        EXPECT_FALSE (area->getBounds().isEmpty());
    }

    GestureLog log (knob);
    clickArea (*knob.getScaleLamps()[8], knob);
    EXPECT_NEAR (knob.getValue(), 0.8, 1e-7);
    EXPECT_EQ (log.changes, 1);

    for (const auto& labels : { juce::StringArray(), juce::StringArray { "5" } })
    {
        knob.defineSliderPrms ("ATTEN", labels, 0.0f, 2.0f, 0.5f, 0.0f, 0.1f);
        EXPECT_EQ (knob.getNameLabel().getText(), "ATTEN");
        EXPECT_EQ (knob.getMaximum(), 2.0);
        EXPECT_EQ (knob.getScaleLabels().size(), 11);
        EXPECT_EQ (knob.getScaleLamps().size(), 11);
    }
}

// The name label sits under the knob: at the right, the left or centred by orientation, at
// 6.5 / 75 of the size in height, its width the number of characters times that height.
TEST (HV_Knob_s500, NameLabelGeometryFollowsOrientationAndSize)
{
    struct Case
    {
        HV_Knob_s500::Orientation orientation;
        int size;
        juce::Rectangle<int> bounds;
        juce::Justification justification;
    };

    // At 75: h 6.5, margin 12, offset 56, 8 high, 5 x 6.5 = 32.5 -> 32 wide (ties to even).
    // At 136: h 11.787, margin 22, offset 102, 14 high, 58.93 -> 59 wide.
    const Case cases[] = {
        { HV_Knob_s500::arcLeftLabelRight, 75, { 41, 96, 32, 8 }, juce::Justification::right },
        { HV_Knob_s500::arcRightLabelLeft, 75, { 22, 96, 32, 8 }, juce::Justification::left },
        { HV_Knob_s500::arcLeftLabelCentred, 75, { 10, 96, 75, 8 }, juce::Justification::centred },
        { HV_Knob_s500::arcLeftLabelRight, 136, { 65, 142, 59, 14 }, juce::Justification::right },
        { HV_Knob_s500::arcRightLabelLeft, 136, { 32, 142, 59, 14 }, juce::Justification::left },
        { HV_Knob_s500::arcLeftLabelCentred, 136, { 10, 142, 136, 14 }, juce::Justification::centred },
    };

    for (const auto& c : cases)
    {
        KnobOnPanel onPanel (c.orientation, { 10, 40, c.size, c.size });
        const auto& label = onPanel.knob.getNameLabel();

        EXPECT_EQ (label.getBounds(), c.bounds) << "orientation " << (int) c.orientation << ", size " << c.size;
        EXPECT_EQ (label.getJustificationType(), c.justification);
        EXPECT_FLOAT_EQ (label.getFont().getHeight(), 6.5f * (float) c.size / 75.0f);
        EXPECT_TRUE (label.getFont().isBold());
        EXPECT_EQ (label.findColour (juce::Label::textColourId), juce::Colour (0xffe8e8e8));
    }

    // Resized below 2 pixels, the knob keeps its layout.
    KnobOnPanel onPanel (HV_Knob_s500::arcLeftLabelRight, { 10, 40, 75, 75 });
    onPanel.knob.setSize (1, 1);
    EXPECT_EQ (onPanel.knob.getNameLabel().getBounds(), (juce::Rectangle<int> { 41, 96, 32, 8 }));
    EXPECT_EQ (onPanel.knob.getScaleLamps()[0]->getWidth(), 8);
}

// The arcs: both 148.5 degrees, the second mirroring the first; the value never wraps round.
TEST (HV_Knob_s500, OrientationChoosesTheArc)
{
    for (const auto orientation : { HV_Knob_s500::arcLeftLabelRight, HV_Knob_s500::arcRightLabelLeft,
                                    HV_Knob_s500::arcLeftLabelCentred })
    {
        HV_Knob_s500 knob (orientation, orientation == HV_Knob_s500::arcLeftLabelRight);
        const auto arc = knob.getRotaryParameters();
        const auto start = orientation == HV_Knob_s500::arcRightLabelLeft ? 5.9376101f : 4.0369468f;

        EXPECT_FLOAT_EQ (arc.startAngleRadians, start);
        EXPECT_NEAR (arc.endAngleRadians - arc.startAngleRadians, 2.5918136f, 1e-6f);
        EXPECT_TRUE (arc.stopAtEnd);
        EXPECT_EQ (knob.getSliderStyle(), juce::Slider::RotaryVerticalDrag);
        EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox);
        EXPECT_EQ (knob.getNumChildComponents(), 0); // no text box left over
        EXPECT_EQ (&knob.getLookAndFeel(), static_cast<juce::LookAndFeel*> (knob.getKnobLaf()));
        const auto gainLook = dynamic_cast<HV_Knob_LAF_s500_Gain*> (knob.getKnobLaf()) != nullptr;
        EXPECT_EQ (gainLook, orientation == HV_Knob_s500::arcLeftLabelRight);
    }

    // Mirror images about the vertical axis.
    HV_Knob_s500 left (HV_Knob_s500::arcLeftLabelRight, false), right (HV_Knob_s500::arcRightLabelLeft, false);
    const auto twoPi = juce::MathConstants<float>::twoPi;
    EXPECT_NEAR (left.getRotaryParameters().startAngleRadians + right.getRotaryParameters().endAngleRadians, 2.0f * twoPi, 1e-5f);
}

// The click areas lie over the marks (radius 25.7 x size / 75 from the knob's centre) and the
// lamps (32.2 x size / 75), at the knob's position in its parent.
TEST (HV_Knob_s500, ClickAreasSitAtTheirPolarPointsInTheParent)
{
    for (const auto orientation : { HV_Knob_s500::arcLeftLabelRight, HV_Knob_s500::arcRightLabelLeft })
    {
        for (const auto size : { 75, 150 })
        {
            KnobOnPanel onPanel (orientation, { 30, 40, size, size });
            const auto& knob = onPanel.knob;
            const auto scale = (float) size / 75.0f;
            const auto lampSide = size == 75 ? 8 : 18;
            const auto markSide = size == 75 ? 6 : 12;

            EXPECT_FLOAT_EQ (knob.rulerRadius, 25.7f * scale);

            for (int i = 0; i < 11; ++i)
            {
                const auto* mark = onPanel.knob.getScaleLabels()[i];
                const auto* lamp = onPanel.knob.getScaleLamps()[i];
                const auto where = [&] { return testing::Message() << "size " << size << ", mark " << i; };

                EXPECT_LT (mark->getBounds().toFloat().getCentre().getDistanceFrom (
                               polarPointInParent (knob, i, 11, 25.7f * scale)),
                           1.5f)
                    << where();
                EXPECT_GE (mark->getWidth(), markSide) << where();
                EXPECT_LE (mark->getWidth(), (int) std::ceil ((float) markSide * 1.4143f) + 1) << where();

                EXPECT_LT (lamp->getBounds().toFloat().getCentre().getDistanceFrom (
                               polarPointInParent (knob, i, 11, 32.2f * scale)),
                           1.5f)
                    << where();
                EXPECT_EQ (lamp->getWidth(), lampSide) << where();
                EXPECT_EQ (lamp->getHeight(), lampSide) << where();
                EXPECT_EQ (lamp->knob, &knob);
                EXPECT_EQ (mark->knob, &knob);
            }
        }
    }
}

TEST (HV_Knob_s500, TransformReachesEverySatellite)
{
    KnobOnPanel onPanel;
    const auto transform = juce::AffineTransform::translation (5.0f, -3.0f);
    onPanel.knob.setSliderAffineTransform (transform);

    EXPECT_TRUE (onPanel.knob.getTransform() == transform);
    EXPECT_TRUE (onPanel.knob.getNameLabel().getTransform() == transform);
    for (int i = 0; i < 11; ++i)
    {
        EXPECT_TRUE (onPanel.knob.getScaleLabels()[i]->getTransform() == transform);
        EXPECT_TRUE (onPanel.knob.getScaleLamps()[i]->getTransform() == transform);
    }
}
