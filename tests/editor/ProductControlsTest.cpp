#include "editor/AttenKcsSwitch.h"
#include "editor/BoostKcsSwitch.h"
#include "editor/ChannelSwitch.h"
#include "editor/ClipperDiodes.h"
#include "editor/CpsSwitch.h"
#include "editor/HiBWSwitch.h"
#include "editor/MainEngageButton.h"
#include "editor/UsbDiode.h"
#include "editor/WindowButton.h"
#include "support/Rendering.h"
#include "widgets/HvDefaultLookAndFeel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A view squeezed to nothing, or barely more, must not trip the drawing code: every control lays
// out, and paints, at sizes down to 0 x 0 (any framework assertion fails the test).
TEST (ProductControls, LayOutAndPaintAtTinySizes)
{
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
    juce::Component panel;
    panel.setBounds (0, 0, 100, 100);
    panel.setVisible (true);

    std::vector<std::unique_ptr<juce::Component>> controls;
    controls.push_back (std::make_unique<CpsSwitch>());
    controls.push_back (std::make_unique<BoostKcsSwitch>());
    controls.push_back (std::make_unique<HiBWSwitch>());
    controls.push_back (std::make_unique<AttenKcsSwitch>());
    controls.push_back (std::make_unique<ChannelSwitch> (1));
    controls.push_back (std::make_unique<MainEngageButton>());
    controls.push_back (std::make_unique<ClipperDiodes>());
    controls.push_back (std::make_unique<UsbDiode>());
    controls.push_back (std::make_unique<WindowButton>());

    for (auto& control : controls)
    {
        if (auto* labelled = dynamic_cast<HV_ButtonComponent_s500*> (control.get()))
            labelled->setButtonName ("ATTEN\nKCS");
        if (auto* stepSwitch = dynamic_cast<HV_Switch_s500*> (control.get()))
            stepSwitch->setDiodeLabelsText ({ "LINK", "10", "100", "1", "2", "3", "4" });

        panel.addAndMakeVisible (*control);

        for (const auto size : { 0, 1, 2, 3, 5 })
        {
            control->setBounds (10, 10, size, size);
            testing_support::renderComponent (panel);
        }
    }
}
