#pragma once

#include "core/Eq713kPluginInstance.h"
#include "editor/EQ700K_MainView.h"
#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/HvDefaultLookAndFeel.h"

#if ! JUCE_MAC
 #include "support/MidiWorldFixture.h"
#endif

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace testing_support
{

/** The children of a channel view, found by their kinds in its z-order (the view keeps them to
    itself). The four tone knobs are the plain knobs in the order they were added. */
struct ChannelStripParts
{
    EQ713K_Panel* faceplate = nullptr;
    HV_Knob_s500* hiAttenKnob = nullptr;
    HV_Knob_s500* hiBoostKnob = nullptr;
    HV_Knob_s500* loAttenKnob = nullptr;
    HV_Knob_s500* loBoostKnob = nullptr;
    CpsSwitch* cpsSwitch = nullptr;
    BoostKcsSwitch* boostKcsSwitch = nullptr;
    HiBWSwitch* hiBwSwitch = nullptr;
    AttenKcsSwitch* attenKcsSwitch = nullptr;
    MainEngageButton* engageButton = nullptr;
    UsbDiode* usbLamp = nullptr;
    ChannelSwitch* channelSwitch = nullptr;
    ClipperDiodes* clipLamps = nullptr;
    SevenSegmentDisplay* display = nullptr;
    PresetFakeKnob* presetKnob = nullptr;
    WindowButton* windowButton = nullptr;
    EQ700K_MainView::OverlayComp* overlay = nullptr;

    HV_Knob_s500* knob (int index) const
    {
        return std::vector<HV_Knob_s500*> { hiAttenKnob, hiBoostKnob, loAttenKnob, loBoostKnob }[(size_t) index];
    }
};

template <typename Kind>
void takeIfKind (juce::Component* child, Kind*& slot)
{
    if (auto* found = dynamic_cast<Kind*> (child); found != nullptr && slot == nullptr)
        slot = found;
}

inline ChannelStripParts partsOf (EQ700K_MainView& view)
{
    ChannelStripParts parts;
    std::vector<HV_Knob_s500*> toneKnobs;

    for (auto* child : view.getChildren())
    {
        takeIfKind (child, parts.faceplate);
        takeIfKind (child, parts.cpsSwitch);
        takeIfKind (child, parts.boostKcsSwitch);
        takeIfKind (child, parts.hiBwSwitch);
        takeIfKind (child, parts.attenKcsSwitch);
        takeIfKind (child, parts.engageButton);
        takeIfKind (child, parts.usbLamp);
        takeIfKind (child, parts.channelSwitch);
        takeIfKind (child, parts.clipLamps);
        takeIfKind (child, parts.display);
        takeIfKind (child, parts.presetKnob);
        takeIfKind (child, parts.windowButton);
        takeIfKind (child, parts.overlay);

        if (auto* knob = dynamic_cast<HV_Knob_s500*> (child); knob != nullptr && dynamic_cast<PresetFakeKnob*> (child) == nullptr)
            toneKnobs.push_back (knob);
    }

    if (toneKnobs.size() == 4)
    {
        parts.hiAttenKnob = toneKnobs[0];
        parts.hiBoostKnob = toneKnobs[1];
        parts.loAttenKnob = toneKnobs[2];
        parts.loBoostKnob = toneKnobs[3];
    }

    return parts;
}

/** The children of the given kind among the component's children, in z-order. */
template <typename Kind>
std::vector<Kind*> childrenOfKind (juce::Component& component)
{
    std::vector<Kind*> found;
    for (auto* child : component.getChildren())
        if (auto* match = dynamic_cast<Kind*> (child))
            found.push_back (match);
    return found;
}

/** The index of the one visible lit lamp among a control's lit lamps, or -1 unless exactly one
    is visible. */
inline int litLampIndex (juce::Component& control)
{
    int lit = -1;
    const auto lamps = childrenOfKind<ButtonLightDiode> (control);

    for (size_t i = 0; i < lamps.size(); ++i)
    {
        if (! lamps[i]->isVisible())
            continue;
        if (lit >= 0)
            return -1;
        lit = (int) i;
    }

    return lit;
}

/** The centre of a component in the coordinates of an ancestor. */
inline juce::Point<float> centreIn (juce::Component& ancestor, juce::Component& component)
{
    return ancestor.getLocalPoint (&component, component.getLocalBounds().getCentre().toFloat());
}

#if JUCE_MAC
using PluginInstanceTest = ::testing::Test;
#else
using PluginInstanceTest = MidiWorldTest; // the instance's MIDI manager lives there
#endif

/** A plug-in instance, built directly (so its wrapper type is undefined), with the panel's
    lettering installed, and the editor's window-click flag, for channel views to be built on. */
class ChannelStripTest : public PluginInstanceTest
{
protected:
    /** A visible view of the channel at the size of the editor's strips. */
    template <typename View = EQ700K_MainView>
    std::unique_ptr<View> makeView (int channel)
    {
        auto view = std::make_unique<View> (instance, params, (EQ700K_MainView::ChannelId) channel, windowClickFlag);
        view->setBounds (0, 0, 325, 570);
        view->setVisible (true);
        return view;
    }

    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    bool windowClickFlag = false;
};

} // namespace testing_support
