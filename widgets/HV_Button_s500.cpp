#include "widgets/HV_Button_s500.h"

#include "widgets/HV_GuiHelper.h"
#include "widgets/HvSharedArt.h"

#include <cmath>

namespace
{

constexpr float designSize = 75.0f;

} // namespace

HV_Button_s500::HV_Button_s500() : HV_Button ("HV Button EQ864")
{
    setClickingTogglesState (true);
}

void HV_Button_s500::prepareButtonImage()
{
    scale = size / designSize;
    margin = juce::jmax (1.0f, std::round (10.0f * scale));
    capDiameter = (float) juce::roundToInt (size - 2.0f * margin);
    const auto chamfer = (float) juce::jmax (2, juce::roundToInt (3.0f * scale));
    pressOffset = 2.0f * scale;

    if (capDiameter < 1.0f || ! std::isfinite (capDiameter))
    {
        // No room for a cap: the button draws nothing.
        capImage = shadowImage = haloImage = juce::Image();
        return;
    }

    renderCap (chamfer);
    renderShadow();
    renderHalo();
}

void HV_Button_s500::renderCap (float chamfer)
{
    // The bands go over the face only.
    capImage = HV_GuiHelper::renderCapWithBands (capDiameter, chamfer);
}

// Shadow and halo are the same for every button of a size: made once per process.
void HV_Button_s500::renderShadow()
{
    const auto edge = juce::roundToInt (size);
    const auto diameter = capDiameter + juce::jmax (2.0f, 2.0f * scale);
    const auto centre = halfSize + 2.0f * scale;

    shadowImage = HvSharedArt::get().image (HvSharedArt::key ("capShadow", edge, diameter, centre), [=]
    {
        auto image = HV_GuiHelper::createClearedSquare (edge);

        if (image.isValid())
        {
            juce::Graphics g (image);
            g.setGradientFill (juce::ColourGradient (juce::Colour (0xff000000), centre, centre, juce::Colours::transparentBlack,
                                                     centre + diameter / 2.0f, centre, true));
            g.fillEllipse (centre - diameter / 2.0f, centre - diameter / 2.0f, diameter, diameter);
        }

        return image;
    });
}

void HV_Button_s500::renderHalo()
{
    const auto edge = juce::roundToInt (size);
    const auto radius = juce::jmax (1, juce::roundToInt (scale));
    const auto origin = margin - 0.1f * scale;
    const auto diameter = capDiameter + 0.2f * scale;

    haloImage = HvSharedArt::get().image (HvSharedArt::key ("capHalo", edge, radius, origin, diameter), [=]
    {
        auto image = HV_GuiHelper::createClearedSquare (edge);

        if (image.isValid())
        {
            juce::Graphics g (image);
            const juce::DropShadow halo (juce::Colour (0xff000000), radius, {});
            halo.drawForPath (g, HV_GuiHelper::circlePath (origin, origin, diameter));
        }

        return image;
    });
}

void HV_Button_s500::paintButton (juce::Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    // Only cached images here: the textures are drawn at layout time.
    g.drawImageAt (haloImage, 0, 0);

    if (! shouldDrawButtonAsDown)
    {
        g.drawImageAt (shadowImage, 0, 0);
        g.drawImageAt (capImage, (int) margin, (int) margin);
        return;
    }

    g.drawImageAt (shadowImage, 0, -juce::roundToInt (pressOffset));

    const auto pivot = (float) (shadowImage.isValid() ? shadowImage.getWidth() / 2 : 0);
    g.drawImageTransformed (capImage, juce::AffineTransform::scale (0.98f, 0.98f, pivot, pivot).translated (margin, margin));
}
