#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

/** The three-digit red LED read-out: every digit has seven slanted segments and a decimal point,
    all always visible; lit segments are red with a red glow, unlit ones black.

    A value text is parsed into three right-aligned glyphs (digits, "-", "n" for a minus and a one
    in one digit, "N" for blank) and the points of the first two digits; the third digit has no
    point. The lit and unlit image of each segment shape are rendered on every resize, so paint
    only places images. The owner starts the blanking timer (startTimer); the display blanks when
    it fires, unless a new text stopped it first. Message thread only. */
class SevenSegmentDisplay : public juce::Component,
                            public juce::Timer
{
public:
    /** What the display shows: three glyphs, left to right, and the points of the first two. */
    struct Reading
    {
        std::array<char, 3> digits { 'N', 'N', 'N' };
        std::array<bool, 2> dots { false, false };

        bool operator== (const Reading& other) const noexcept { return digits == other.digits && dots == other.dots; }
        bool operator!= (const Reading& other) const noexcept { return ! operator== (other); }
    };

    /** The sizes that follow from the display's width (a display is designed 116 units wide). */
    struct Geometry
    {
        float scale = 0.0f;
        std::array<float, 3> digitX {}; // left of each digit's drawing origin
        int glowRadius = 1;
        int glowSpread = 0;
    };

    SevenSegmentDisplay();
    ~SevenSegmentDisplay() override;

    /** Stops the blanking timer, shows the text and repaints. */
    void setTextToDisplay (const juce::String& text);

    /** Parses a value text the way the display shows it. Digits fill the positions from the
        left, "." gives the point to the digit before it, "-" marks the value negative, any other
        byte is a blank position; reading stops after the third position. The digits are then
        moved to the right, with the minus sign in front where there is room. */
    static Reading parseText (const juce::String& text);

    static Geometry geometryFor (int width) noexcept;

    const Reading& getReading() const noexcept { return reading; }

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Blanks the display and stops the timer. */
    void timerCallback() override;

    /** Draws one digit at its origin; glyphs outside the display's set draw nothing. */
    void drawDigit (juce::Graphics& g, int digitIndex, char glyph, bool decimalPoint);

private:
    static constexpr int numShapes = 8; // segments a to g, then the decimal point
    static constexpr int decimalPointShape = 7;

    void renderSegmentImages (const Geometry& geometry);

    std::array<float, 3> digitX {};
    std::array<juce::Image, numShapes> litSegmentImages;
    std::array<juce::Image, numShapes> unlitSegmentImages;
    std::array<juce::Rectangle<int>, numShapes> segmentBounds;
    Reading reading;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SevenSegmentDisplay)
};
