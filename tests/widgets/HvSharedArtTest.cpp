#include "support/Rendering.h"
#include "widgets/HV_Button_s500.h"
#include "widgets/HV_Knob_s500.h"
#include "widgets/HvSharedArt.h"
#include "widgets/SevenSegmentDisplay.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace
{

const juce::StringArray editorScale { "0", ".", "2", ".", "4", ".", "6", ".", "8", ".", "10" };

juce::Image filled (int edge)
{
    juce::Image image (juce::Image::ARGB, edge, edge, true);
    image.setPixelAt (0, 0, juce::Colours::red);
    return image;
}

/** A knob defined as the editor defines it, laid out in a panel. */
struct KnobOnPanel
{
    explicit KnobOnPanel (int size) : knob (HV_Knob_s500::arcLeftLabelRight, false)
    {
        panel.setBounds (0, 0, 400, 400);
        knob.defineSliderPrms ("BOOST", editorScale, 0.0f, 1.0f, 0.01f, 0.0f, 0.1f);
        panel.addAndMakeVisible (knob);
        knob.setBounds (10, 10, size, size);
    }

    juce::Component panel;
    HV_Knob_s500 knob;
};

} // namespace

TEST (HvSharedArt, MakesAnImageOncePerKeyAndHandsOutTheSameOne)
{
    auto& art = HvSharedArt::get();
    int made = 0;
    const auto make = [&made] { ++made; return filled (4); };

    const auto first = art.image ("test/once/a", make);
    const auto again = art.image ("test/once/a", make);
    const auto other = art.image ("test/once/b", make);

    EXPECT_EQ (made, 2);
    EXPECT_EQ (first.getPixelData(), again.getPixelData());
    EXPECT_NE (first.getPixelData(), other.getPixelData());
    EXPECT_EQ (HvSharedArt::key ("kind", 3, 1.5f, juce::String ("x")), "kind/3/1.5/x");
}

// A window resized through many sizes must not make the store grow for ever; what a widget
// still shows is kept.
TEST (HvSharedArt, DropsOnlyImagesThatNobodyElseHoldsWhenManyAccumulate)
{
    auto& art = HvSharedArt::get();
    const auto kept = art.image ("test/purge/kept", [] { return filled (2); });

    for (int i = 0; i < HvSharedArt::imagesBeforePurge + 10; ++i)
        art.image ("test/purge/" + juce::String (i), [] { return filled (2); });

    EXPECT_LE (art.numImages(), HvSharedArt::imagesBeforePurge);

    int made = 0;
    const auto keptAgain = art.image ("test/purge/kept", [&made] { ++made; return filled (2); });
    EXPECT_EQ (made, 0);
    EXPECT_EQ (keptAgain.getPixelData(), kept.getPixelData());
}

// The fixed textures of a knob, a cap button and a display (shadows, halos, scale, lamp ring,
// lamps, segments) are made by the first widget of a size; another of that size makes none,
// while the random textures stay each widget's own.
TEST (HvSharedArt, ASecondWidgetOfTheSameSizeMakesNoFixedTextureOfItsOwn)
{
    auto& art = HvSharedArt::get();

    struct Case
    {
        const char* what;
        std::function<std::shared_ptr<void>()> makeOne;
    };

    const Case cases[] {
        { "knob", [] { return std::static_pointer_cast<void> (std::make_shared<KnobOnPanel> (131)); } },
        { "cap button", []
          {
              auto button = std::make_shared<HV_Button_s500>();
              button->setBounds (0, 0, 37, 37);
              return std::static_pointer_cast<void> (button);
          } },
        { "display", []
          {
              auto display = std::make_shared<SevenSegmentDisplay>();
              display->setBounds (0, 0, 97, 60);
              return std::static_pointer_cast<void> (display);
          } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto before = art.numImages();
        const auto first = c.makeOne();
        const auto afterFirst = art.numImages();
        const auto second = c.makeOne();

        EXPECT_GT (afterFirst, before);
        EXPECT_EQ (art.numImages(), afterFirst);
    }
}

TEST (HvSharedArt, KnobsOfOneSizeShareTheirScaleYetEachHasBrushedMetalOfItsOwn)
{
    KnobOnPanel first (136), second (136);

    const auto a = testing_support::renderComponent (first.knob);
    const auto b = testing_support::renderComponent (second.knob);

    // The scale text "0" and its lamps lie outside the body, the body in the middle.
    int differingOnBody = 0;
    for (int y = 48; y < 88; ++y)
        for (int x = 48; x < 88; ++x)
            differingOnBody += a.getPixelAt (x, y) != b.getPixelAt (x, y) ? 1 : 0;

    EXPECT_GT (differingOnBody, 100) << "every body has noise and bands of its own";
}

// A host may shut the framework down, and so delete the store, from a thread of its own once the
// last editor went: nothing in the store needs the message thread to go, and the next editor of
// the process makes a new one.
TEST (HvSharedArt, GoesOnAnotherThreadAndComesBackForTheNextWidget)
{
    {
        KnobOnPanel knob (127);
        ASSERT_GT (HvSharedArt::get().numImages(), 0);
    }

    auto face = HvSharedArt::get().face (HvSharedArt::Face::latoBold);
    std::thread ([] { HvSharedArt::deleteInstance(); }).join();

    EXPECT_EQ (face->getStyle(), "Bold") << "a face still held outlives the store";
    face = nullptr;

    EXPECT_EQ (HvSharedArt::get().numImages(), 0);
    KnobOnPanel again (127);
    EXPECT_GT (HvSharedArt::get().numImages(), 0);
    EXPECT_FALSE (testing_support::renderComponent (again.knob).getPixelAt (63, 63).isTransparent());
}
