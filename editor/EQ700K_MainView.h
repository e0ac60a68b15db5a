#pragma once

#include "core/Eq713kParamsManager.h"
#include "core/ParamData.h"
#include "editor/AttenKcsSwitch.h"
#include "editor/BoostKcsSwitch.h"
#include "editor/ChannelSwitch.h"
#include "editor/ClipperDiodes.h"
#include "editor/CpsSwitch.h"
#include "editor/EQ713K_Panel.h"
#include "editor/HiBWSwitch.h"
#include "editor/MainEngageButton.h"
#include "editor/PresetFakeKnob.h"
#include "editor/UsbDiode.h"
#include "editor/WindowButton.h"
#include "widgets/HV_Knob_s500.h"
#include "widgets/SevenSegmentDisplay.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <initializer_list>


/** One channel strip of the front panel: the faceplate with the channel's four knobs, four step
    switches and ENGAGE, the USB lamp, the CH. selector, the clip lamps, the value display, the
    PRESET knob and the window button, laid out in proportion to the view's size.

    The view turns what the user does with a control into gestures and values on its channel's
    parameters (naming itself, so it is not told of its own changes) or into settings, and moves
    its controls silently to every value it is told of, so that a change from the host, the unit
    or the linker never goes out again through the view. The display shows the value of the knob
    under the pointer; while the channels are linked, the hover is mirrored onto the other strip
    through the shared hover settings.

    Message thread only. The manager must outlive the view; the instance is read only while the
    view is built. */
class EQ700K_MainView : public juce::Component,
                        public juce::HvParamsManager::AutomatableParamListener,
                        public juce::HvParamsManager::NonAutomatableParamListener
{
public:
    /** 0 is the first channel (parameters 1..9); any other value the second (10..18). */
    enum ChannelId : int
    {
        firstChannel = 0,
        secondChannel = 1
    };

    /** Darkens the strip of the channel that is not selected; the view lets every click through
        it to the controls beneath. */
    class OverlayComp : public juce::Component
    {
    public:
        OverlayComp();

        void paint (juce::Graphics& g) override;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OverlayComp)
    };

    /** windowClickFlag is the editor's: the window button sets it just before it changes
        "DOUBLE WINDOW", and it must outlive the view. */
    EQ700K_MainView (const juce::AudioProcessor& instance, Eq713kParamsManager& params, ChannelId channel,
                     bool& windowClickFlag);
    ~EQ700K_MainView() override;

    /** Draws nothing: the children draw everything. */
    void paint (juce::Graphics& g) override;

    /** Lays the children out for the view's size; a strip that its window hides (the second
        strip of the single window) is laid out, and its textures rendered, only when it is
        shown. */
    void resized() override;
    void visibilityChanged() override;

    /** Moves the control of the parameter to the value without notification. */
    using AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float value) override;

    /** Follows a setting; the editor also calls it to pass on "SELECTED CHANNEL". */
    void nonAutomatableParamValueChanged (int id, juce::var value) override;

    /** How long the display keeps a value after the pointer leaves its knob. */
    static constexpr int displayHoldMs = 1000;

private:
    /** A knob of the strip: its parameter (by its channel-1 id) and its hover setting. */
    struct KnobRole
    {
        ParamData::ParamEnum channelOneId;
        ParamData::NaParamEnum hoverSetting;
        const char* name;
    };

    static const std::array<KnobRole, 4> knobRoles;

    std::array<HV_Knob_s500*, 4> knobsInRoleOrder() noexcept;
    /** The step switch of a parameter, by its channel-1 id, or nullptr. */
    HV_Switch_s500* switchFor (ParamData::ParamEnum channelOneId) noexcept;

    void setUpKnobs (juce::AudioProcessor::WrapperType wrapperType);
    void setUpKnob (HV_Knob_s500& knob, const KnobRole& role, juce::ModifierKeys resetModifier,
                    juce::ModifierKeys::Flags swapModifier);
    void setUpSwitches();
    void setUpPresetKnob();
    void setUpIndicatorsAndButtons();
    void addChildrenInOrder();
    void registerListeners();
    void unregisterListeners();
    void layOutChildren();

    int idOf (ParamData::ParamEnum channelOneId) const noexcept;
    bool isLinked() const;
    bool isOn (int settingId) const;

    AutomatableParamListener* asParamSource() noexcept { return this; }
    NonAutomatableParamListener* asSettingSource() noexcept { return this; }

    void showValueOf (int id);
    void holdThenBlankDisplay();
    void setHover (int settingId, bool on);
    void clearHoverSetHere();

    void sendSwitchGesture (const HV_Switch_s500& control, int id);
    void selectChannelFromSwitch();
    void resetAllParameters();
    void windowButtonClicked();

    void followChannelMode (float value);
    void followChannelControl (int offset, float value);
    void followSelectedChannel (const juce::var& value);
    void followHoverSetting (int settingId, bool on);

    Eq713kParamsManager& params;
    EQ713K_Panel faceplate;
    HV_Knob_s500 hiAttenKnob { HV_Knob_s500::arcRightLabelLeft, false };
    HV_Knob_s500 hiBoostKnob { HV_Knob_s500::arcLeftLabelRight, true };
    HV_Knob_s500 loAttenKnob { HV_Knob_s500::arcRightLabelLeft, false };
    HV_Knob_s500 loBoostKnob { HV_Knob_s500::arcLeftLabelRight, true };
    CpsSwitch cpsSwitch;
    BoostKcsSwitch boostKcsSwitch;
    HiBWSwitch hiBwSwitch;
    AttenKcsSwitch attenKcsSwitch;
    MainEngageButton engageButton;
    UsbDiode usbLamp;
    ChannelSwitch channelSwitch;
    ClipperDiodes clipLamps;
    SevenSegmentDisplay display;
    PresetFakeKnob presetKnob;
    WindowButton windowButton;
    const ChannelId channel;
    /** ENGAGE, LO BOOST, LO ATTEN, LO CPS, HI BOOST, HI ATTEN, HI BANDWIDTH, HI KCS BOOST,
        HI KCS ATTEN of this strip's channel. */
    const std::array<int, ParamData::channelStride> paramIds;
    bool& windowClickFlag;

public:
    /** The editor shows it over the strip that is not the selected channel. */
    OverlayComp overlay;

private:
    /** The hover settings (6..9, by their offset from 6) this view turned on and has not turned
        off: a view that goes while the pointer is over a knob gets no mouse exit, and turns them
        off as it goes. */
    std::array<bool, 4> hoverSetHere {};

    /** Set while the view was resized hidden in its window and has not been laid out since. */
    bool layoutPending = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EQ700K_MainView)
};
