#include "widgets/HV_Knob_s500.h"

#include "widgets/EQ700K_Colours.h"
#include "widgets/HV_Knob_LAF_s500_Gain.h"
#include "widgets/KnobDesign.h"

namespace
{

using KnobDesign::designSize;
using KnobDesign::Arc;
constexpr int fullDragPixels = 256;

Arc arcFor (HV_Knob_s500::Orientation orientation)
{
    return orientation == HV_Knob_s500::arcRightLabelLeft ? KnobDesign::arcOnTheRight : KnobDesign::arcOnTheLeft;
}

std::unique_ptr<HV_Knob_LAF> makeLaf (bool gain)
{
    if (gain)
        return std::make_unique<HV_Knob_LAF_s500_Gain>();

    return std::make_unique<HV_Knob_LAF_s500>();
}

juce::Font nameFont (float height)
{
    return juce::Font (juce::jlimit (0.1f, 10000.0f, height), juce::Font::bold);
}

} // namespace

HV_Knob_s500::HV_Knob_s500 (Orientation orientationToUse, bool gain) : orientation (orientationToUse)
{
    const auto arc = arcFor (orientation);
    setRotaryParameters (arc.start, arc.end, true);

    nameLabel.setColour (juce::Label::textColourId, EQ700K_Colours::panelFontColour);

    setKnobLaf (makeLaf (gain));

    setSliderStyle (juce::Slider::RotaryVerticalDrag);
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    setMouseDragSensitivity (fullDragPixels);

    // The knob's own look-and-feel refresh does nothing, so the slider's text box, made when it
    // was built, is dropped here once.
    juce::Slider::lookAndFeelChanged();

    nameLabel.setFont (nameFont (17.0f));
    nameLabel.setJustificationType (juce::Justification::centred);

    knobLaf->drawPointer = drawPointer;
}

void HV_Knob_s500::defineSliderPrms (const juce::String& name, const juce::StringArray& labels,
                                     const float& minValue, const float& maxValue, const float& interval,
                                     const float&, const float&)
{
    nameLabel.setText (name, juce::dontSendNotification);
    setRange ((double) minValue, (double) maxValue, (double) interval);

    if (labels.size() >= 2)
    {
        const auto step = (maxValue - minValue) / (float) (labels.size() - 1);
        clearScaleClickAreas();

        for (int i = 0; i < labels.size(); ++i)
            addScaleMark (labels[i], (double) (minValue + (float) i * step));

        // A knob that already has its parent shows the new marks at once.
        showSatellitesInParent();
    }

    prmsDefined = true;

    // A knob that already has its layout draws and places the new scale and name at once.
    layOutAgain();
}

void HV_Knob_s500::setSliderBounds (const int& x, const int& y, const int& size)
{
    knobLaf->setLafBounds (size, *this);
    placeNameLabel (x, y, size);

    for (auto* label : scaleLabels)
        label->knob = this;

    for (auto* lamp : scaleLamps)
        lamp->knob = this;
}

void HV_Knob_s500::placeNameLabel (int x, int y, int size)
{
    const auto scale = (float) size / designSize;
    const auto fontHeight = 6.5f * scale;
    const auto sideMargin = juce::roundToInt (12.0f * scale);
    const auto top = y + juce::roundToInt (56.0f * scale);
    const auto height = juce::roundToInt (1.2f * fontHeight);
    const auto width = juce::roundToInt ((float) nameLabel.getText().length() * fontHeight);

    if (orientation == arcLeftLabelRight)
    {
        nameLabel.setBounds (getX() + getWidth() - sideMargin - width, top, width, height);
        nameLabel.setJustificationType (juce::Justification::right);
    }
    else if (orientation == arcRightLabelLeft)
    {
        nameLabel.setBounds (x + sideMargin, top, width, height);
        nameLabel.setJustificationType (juce::Justification::left);
    }
    else
    {
        // Centred under the knob, as wide as it.
        nameLabel.setBounds (x, top, size, height);
        nameLabel.setJustificationType (juce::Justification::centred);
    }

    nameLabel.setFont (nameFont (fontHeight));
}
