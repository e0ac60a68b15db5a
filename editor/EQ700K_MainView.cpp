#include "editor/EQ700K_MainView.h"

#include "PanelArtwork.h"
#include "widgets/HV_Knob_LAF.h"
#include "widgets/HvSharedArt.h"

#include <utility>

namespace
{

constexpr int numParamsPerChannel = ParamData::channelStride;

std::array<int, numParamsPerChannel> channelParamIds (EQ700K_MainView::ChannelId channel)
{
    // Any channel but the first is the second.
    const auto firstId = channel == EQ700K_MainView::firstChannel ? (int) ParamData::ENGAGE_1 : (int) ParamData::ENGAGE_2;
    std::array<int, numParamsPerChannel> ids {};

    for (int i = 0; i < numParamsPerChannel; ++i)
        ids[(size_t) i] = firstId + i;

    return ids;
}

/** The knobs' and switches' value step: whole steps for the on/off and mode parameters. */
float stepFor (int id)
{
    return id == ParamData::CHANNEL || id == ParamData::ENGAGE_1 || id == ParamData::ENGAGE_2 ? 1.0f : 0.01f;
}

bool isAudioUnit (juce::AudioProcessor::WrapperType type)
{
    return type == juce::AudioProcessor::wrapperType_AudioUnit || type == juce::AudioProcessor::wrapperType_AudioUnitv3;
}

/** Those hosts keep Command-click for themselves. */
juce::ModifierKeys resetModifierFor (juce::AudioProcessor::WrapperType type)
{
    return isAudioUnit (type) || type == juce::AudioProcessor::wrapperType_AAX ? juce::ModifierKeys::altModifier
                                                                             : juce::ModifierKeys::commandModifier;
}

juce::ModifierKeys::Flags velocitySwapModifierFor (juce::AudioProcessor::WrapperType type)
{
    return type == juce::AudioProcessor::wrapperType_AAX ? juce::ModifierKeys::commandModifier
                                                         : juce::ModifierKeys::shiftModifier;
}

/** The value a switch's position stands for in its range, snapped to the range's interval. */
float valueOfPosition (const HV_Switch_s500& control)
{
    const auto& range = control.range;
    const auto positionSpan = control.getMaximum() - control.getMinimum();

    if (! (positionSpan > 0.0f))
        return range.start;

    const auto value = range.start + ((float) control.getState() - control.getMinimum()) * (range.end - range.start) / positionSpan;
    return range.snapToLegalValue (value);
}

const juce::StringArray knobScale { "0", ".", "2", ".", "4", ".", "6", ".", "8", ".", "10" };

} // namespace

// In the order of the hover settings 6..9.
const std::array<EQ700K_MainView::KnobRole, 4> EQ700K_MainView::knobRoles { {
    { ParamData::HI_ATTEN_1, ParamData::MOUSE_OVER_HI_ATTEN_KNOB, "ATTEN" },
    { ParamData::HI_BOOST_1, ParamData::MOUSE_OVER_HI_BOOST_KNOB, "BOOST" },
    { ParamData::LO_ATTEN_1, ParamData::MOUSE_OVER_LO_ATTEN_KNOB, "ATTEN" },
    { ParamData::LO_BOOST_1, ParamData::MOUSE_OVER_LO_BOOST_KNOB, "BOOST" },
} };

//==============================================================================
EQ700K_MainView::OverlayComp::OverlayComp() = default;

void EQ700K_MainView::OverlayComp::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0x66000000));
}

//==============================================================================
namespace
{

/** The faceplate's picture, decoded once per process and shared by every strip (HvSharedArt):
    not the framework's image cache, whose purge timer would still run when a host that has
    closed the editor shuts the framework down from a thread of its own. */
const char* const faceplateKey = "faceplate";

juce::Image decodedFaceplate()
{
    return HvSharedArt::get().image (faceplateKey, []
    {
        return juce::ImageFileFormat::loadFrom (PanelArtwork::Faceplate_png, PanelArtwork::Faceplate_pngSize);
    });
}

/** The faceplate as the artwork generator scaled it to the strip's own size: opaque RGB rows
    after the width and height (little-endian 16 bits each). A strip of that size on a screen of
    scale 1 shows it without decoding or scaling anything; any other size is made from the
    picture. */
juce::Image readyScaledFaceplate (int width, int height)
{
    const auto* bytes = reinterpret_cast<const juce::uint8*> (PanelArtwork::Faceplate325x570_rgb);
    const auto size = (size_t) PanelArtwork::Faceplate325x570_rgbSize;

    if (size < 4)
        return {};

    const auto storedWidth = (int) (bytes[0] | (bytes[1] << 8));
    const auto storedHeight = (int) (bytes[2] | (bytes[3] << 8));

    if (storedWidth != width || storedHeight != height || size != 4 + (size_t) width * (size_t) height * 3)
        return {};

    juce::Image image (juce::Image::RGB, width, height, false);
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
    const auto* source = bytes + 4;

    for (int y = 0; y < height; ++y)
    {
        auto* line = pixels.getLinePointer (y);

        for (int x = 0; x < width; ++x, source += 3)
            reinterpret_cast<juce::PixelRGB*> (line + x * pixels.pixelStride)->setARGB (0xff, source[0], source[1], source[2]);
    }

    return image;
}

} // namespace

//==============================================================================
EQ700K_MainView::EQ700K_MainView (const juce::AudioProcessor& instance, Eq713kParamsManager& manager, ChannelId channelId,
                                  bool& clickFlag)
    : params (manager),
      channelSwitch (channelId, manager),
      channel (channelId),
      paramIds (channelParamIds (channel)),
      windowClickFlag (clickFlag)
{
    faceplate.setSharedImage (faceplateKey, decodedFaceplate, readyScaledFaceplate);

    setUpKnobs (instance.wrapperType);
    setUpSwitches();
    setUpIndicatorsAndButtons();
    setUpPresetKnob();
    addChildrenInOrder();
    registerListeners();

    // The strip's many layers are composed once into one image; a control that changes redraws
    // only its own area of it, and a repaint of the whole strip copies that image. The faceplate
    // covers the strip, so the image needs no alpha and nothing behind the strip is painted.
    setOpaque (true);
    setBufferedToImage (true);
}

EQ700K_MainView::~EQ700K_MainView()
{
    unregisterListeners();
    clearHoverSetHere();
}

//==============================================================================
std::array<HV_Knob_s500*, 4> EQ700K_MainView::knobsInRoleOrder() noexcept
{
    return { &hiAttenKnob, &hiBoostKnob, &loAttenKnob, &loBoostKnob };
}

void EQ700K_MainView::setUpKnobs (juce::AudioProcessor::WrapperType wrapperType)
{
    const auto knobs = knobsInRoleOrder();

    for (size_t i = 0; i < knobs.size(); ++i)
        setUpKnob (*knobs[i], knobRoles[i], resetModifierFor (wrapperType), velocitySwapModifierFor (wrapperType));
}

void EQ700K_MainView::setUpKnob (HV_Knob_s500& knob, const KnobRole& role, juce::ModifierKeys resetModifier,
                                 juce::ModifierKeys::Flags swapModifier)
{
    const auto id = idOf (role.channelOneId);
    const auto hoverSetting = (int) role.hoverSetting;

    knob.defineSliderPrms (role.name, knobScale, 0.0f, 1.0f, stepFor (id), 0.0f, 0.0f);

    knob.textFromValueFunction = [toText = Eq713kParamsManager::getValueToTextFunction (id)] (double value)
    {
        return toText ((float) value);
    };
    knob.valueFromTextFunction = [toValue = params.getTextToValueFunction (id)] (const juce::String& text)
    {
        return (double) toValue (text);
    };

    knob.setDoubleClickReturnValue (true, (double) ParamData::paramDefault[id], resetModifier);
    knob.setVelocityModeParameters (1.0, 1, 0.0, true, swapModifier);

    // A drag, a reset click and a click on a scale mark all come as start, changes, end.
    knob.onDragStart = [this, id] { params.beginParamGesture (asParamSource(), id); };
    knob.onValueChange = [this, id, &knob]
    {
        params.setParamValue (asParamSource(), id, (float) knob.getValue());
        showValueOf (id);
    };
    knob.onDragEnd = [this, id] { params.endParamGesture (asParamSource(), id); };

    knob.onKnobMouseEnter = [this, id, hoverSetting]
    {
        showValueOf (id);
        setHover (hoverSetting, true);
    };
    knob.onKnobMouseExit = [this, hoverSetting]
    {
        holdThenBlankDisplay();
        setHover (hoverSetting, false);
    };
}

void EQ700K_MainView::setUpSwitches()
{
    struct SwitchSetUp
    {
        HV_Switch_s500& control;
        const char* name;
        juce::StringArray positions;
        ParamData::ParamEnum channelOneId;
    };

    const SwitchSetUp setUps[] {
        { cpsSwitch, "CPS", { "20", "30", "60", "100" }, ParamData::LO_CPS_1 },
        { boostKcsSwitch, "BOOST KCS", { "3", "4", "5", "6", "10", "12", "16" }, ParamData::HI_KCS_BOOST_1 },
        { hiBwSwitch, "HI BW", { "1", "2", "3", "4" }, ParamData::HI_BANDWIDTH_1 },
        { attenKcsSwitch, "ATTEN\nKCS", { "5", "10", "20" }, ParamData::HI_KCS_ATTEN_1 },
    };

    for (const auto& setUp : setUps)
    {
        const auto id = idOf (setUp.channelOneId);
        auto& control = setUp.control;

        control.setButtonName (setUp.name);
        control.setDiodeLabelsText (setUp.positions);
        control.range = juce::NormalisableRange<float> (0.0f, 1.0f, stepFor (id));
        control.onStateChanged = [this, &control, id] { sendSwitchGesture (control, id); };
    }
}

void EQ700K_MainView::setUpIndicatorsAndButtons()
{
    engageButton.setButtonName ("ENGAGE");
    engageButton.onToggled = [this]
    {
        const auto id = idOf (ParamData::ENGAGE_1);
        params.beginParamGesture (asParamSource(), id);
        params.setParamValue (asParamSource(), id, engageButton.getButton().getToggleState() ? 1.0f : 0.0f);
        params.endParamGesture (asParamSource(), id);
    };

    channelSwitch.setButtonName ("CH.");
    channelSwitch.setDiodeLabelsText ({ "LINK", "1", "2" });
    channelSwitch.range = juce::NormalisableRange<float> (0.0f, 2.0f, 1.0f);
    channelSwitch.onStateChanged = [this] { selectChannelFromSwitch(); };

    clipLamps.onLeftDiodeClicked = [this]
    {
        params.setNonAutomatableParamValue (asSettingSource(), ParamData::CLIPPER_DIODE_STATE_L, 0);
        clipLamps.getLeftLightDiode().setVisible (false);
    };
    clipLamps.onRightDiodeClicked = [this]
    {
        params.setNonAutomatableParamValue (asSettingSource(), ParamData::CLIPPER_DIODE_STATE_R, 0);
        clipLamps.getRightLightDiode().setVisible (false);
    };

    windowButton.setClickingTogglesState (true);
    windowButton.onClick = [this] { windowButtonClicked(); };
}

void EQ700K_MainView::setUpPresetKnob()
{
    presetKnob.defineSliderPrms ("PRESET", {}, 0.0f, 1.0f, 0.1f, 0.0f, 0.0f);
    presetKnob.getNameLabel().setColour (juce::Label::textColourId, juce::Colours::black);
    presetKnob.drawPointer = false;
    presetKnob.getKnobLaf()->drawPointer = false;
    presetKnob.onKnobDoubleClick = [this] { resetAllParameters(); };
}

void EQ700K_MainView::addChildrenInOrder()
{
    for (auto* child : std::initializer_list<juce::Component*> {
             &faceplate, &hiAttenKnob, &hiBoostKnob, &loAttenKnob, &loBoostKnob, &cpsSwitch, &boostKcsSwitch,
             &attenKcsSwitch, &hiBwSwitch, &engageButton, &usbLamp, &channelSwitch, &clipLamps, &display,
             &presetKnob, &windowButton })
        addAndMakeVisible (child);

    overlay.setInterceptsMouseClicks (false, false);
    addChildComponent (overlay);

    clipLamps.setAlwaysOnTop (true);
    usbLamp.setAlwaysOnTop (true);
    overlay.setAlwaysOnTop (true);
}

void EQ700K_MainView::registerListeners()
{
    for (const int id : { ParamData::DOUBLE_WINDOW, ParamData::IS_CONNECTED, ParamData::SELECTED_CHANNEL,
                          ParamData::CLIPPER_DIODE_STATE_L, ParamData::CLIPPER_DIODE_STATE_R,
                          ParamData::MOUSE_OVER_HI_ATTEN_KNOB, ParamData::MOUSE_OVER_HI_BOOST_KNOB,
                          ParamData::MOUSE_OVER_LO_ATTEN_KNOB, ParamData::MOUSE_OVER_LO_BOOST_KNOB })
        params.addNonAutomatableParamListener (asSettingSource(), id, juce::HvParamsManager::notifyCurrentValue);

    params.addParamListener (asParamSource(), ParamData::CHANNEL, juce::HvParamsManager::notifyCurrentValue);

    for (const auto id : paramIds)
        params.addParamListener (asParamSource(), id, juce::HvParamsManager::notifyCurrentValue);
}

void EQ700K_MainView::unregisterListeners()
{
    for (const int id : { ParamData::DOUBLE_WINDOW, ParamData::IS_CONNECTED, ParamData::SELECTED_CHANNEL,
                          ParamData::CLIPPER_DIODE_STATE_L, ParamData::CLIPPER_DIODE_STATE_R,
                          ParamData::MOUSE_OVER_HI_ATTEN_KNOB, ParamData::MOUSE_OVER_HI_BOOST_KNOB,
                          ParamData::MOUSE_OVER_LO_ATTEN_KNOB, ParamData::MOUSE_OVER_LO_BOOST_KNOB })
        params.removeNonAutomatableParamListener (asSettingSource(), id);

    params.removeParamListener (asParamSource(), ParamData::CHANNEL);

    for (const auto id : paramIds)
        params.removeParamListener (asParamSource(), id);
}

//==============================================================================
void EQ700K_MainView::paint (juce::Graphics& g)
{
    // Seen only where the faceplate has no picture.
    g.fillAll (juce::Colours::black);
}

void EQ700K_MainView::resized()
{
    // A view on its own (no window) is laid out at once, shown or not.
    if (! isVisible() && getParentComponent() != nullptr)
    {
        layoutPending = true;
        return;
    }

    layOutChildren();
}

void EQ700K_MainView::visibilityChanged()
{
    if (isVisible() && std::exchange (layoutPending, false))
        layOutChildren();
}

void EQ700K_MainView::layOutChildren()
{
    layoutPending = false;
    faceplate.setBounds (getLocalBounds());

    // Products of floats, rounded with halves to even; the knobs' rows follow the width.
    const auto W = (float) faceplate.getWidth();
    const auto H = (float) faceplate.getHeight();
    const auto ofW = [W] (float fraction) { return juce::roundToInt (fraction * W); };
    const auto ofH = [H] (float fraction) { return juce::roundToInt (fraction * H); };

    const auto knobSize = ofW (0.42f);
    hiAttenKnob.setBounds (ofW (0.03f), ofW (0.204f), knobSize, knobSize);
    hiBoostKnob.setBounds (ofW (0.55f), ofW (0.204f), knobSize, knobSize);
    loAttenKnob.setBounds (ofW (0.03f), ofW (0.844f), knobSize, knobSize);
    loBoostKnob.setBounds (ofW (0.55f), ofW (0.844f), knobSize, knobSize);

    const auto switchRow = ofH (0.339f);
    const auto switchHeight = ofW (0.22f);
    cpsSwitch.setBounds (ofW (0.064f), switchRow, ofW (0.22f), switchHeight);
    boostKcsSwitch.setBounds (ofW (0.3f), switchRow, ofW (0.26f), switchHeight);
    hiBwSwitch.setBounds (ofW (0.6f), switchRow, ofW (0.166f), switchHeight);
    attenKcsSwitch.setBounds (ofW (0.802f), switchRow, ofW (0.15f), switchHeight);

    const auto lampRow = ofH (0.693f);
    const auto lampRowHeight = ofW (0.15f);
    engageButton.setBounds (ofW (0.037f), ofH (0.698f), ofW (0.19f), lampRowHeight);
    channelSwitch.setBounds (ofW (0.456f), lampRow, ofW (0.45f), lampRowHeight);
    usbLamp.setBounds (ofW (0.37f), lampRow, ofW (0.085f), lampRowHeight);
    clipLamps.setBounds (ofW (0.63f), lampRow, ofW (0.11f), lampRowHeight);

    display.setBounds (ofW (0.368f), ofH (0.79f), ofW (0.318f), ofW (0.198f));
    presetKnob.setBounds (ofW (0.63f), ofH (0.73f), knobSize, knobSize);

    const auto windowButtonSize = juce::roundToInt (110.0f * W / 1000.0f);
    windowButton.setBounds (getWidth() - windowButtonSize, 0, windowButtonSize, windowButtonSize);

    overlay.setBounds (getLocalBounds());
}

//==============================================================================
int EQ700K_MainView::idOf (ParamData::ParamEnum channelOneId) const noexcept
{
    return paramIds[(size_t) (channelOneId - ParamData::ENGAGE_1)];
}

bool EQ700K_MainView::isLinked() const
{
    return params.getParamValue (ParamData::CHANNEL) < 0.5f;
}

bool EQ700K_MainView::isOn (int settingId) const
{
    return (bool) params.getNonAutomatableParamValue (settingId);
}

void EQ700K_MainView::showValueOf (int id)
{
    display.setTextToDisplay (params.getCurrentValueAsText (id));
}

void EQ700K_MainView::holdThenBlankDisplay()
{
    display.startTimer (displayHoldMs);
}

void EQ700K_MainView::setHover (int settingId, bool on)
{
    hoverSetHere[(size_t) (settingId - ParamData::MOUSE_OVER_HI_ATTEN_KNOB)] = on;
    params.setNonAutomatableParamValue (asSettingSource(), settingId, on);
}

void EQ700K_MainView::clearHoverSetHere()
{
    for (const auto& role : knobRoles)
        if (hoverSetHere[(size_t) (role.hoverSetting - ParamData::MOUSE_OVER_HI_ATTEN_KNOB)] && isOn (role.hoverSetting))
            setHover (role.hoverSetting, false);
}

//==============================================================================
void EQ700K_MainView::sendSwitchGesture (const HV_Switch_s500& control, int id)
{
    params.beginParamGesture (asParamSource(), id);
    params.setParamValue (asParamSource(), id, valueOfPosition (control));
    params.endParamGesture (asParamSource(), id);
}

// CHANNEL is changed, and its gesture ended, before the selected channel changes.
void EQ700K_MainView::selectChannelFromSwitch()
{
    const auto position = juce::roundToInt (valueOfPosition (channelSwitch));

    params.beginParamGesture (asParamSource(), ParamData::CHANNEL);
    params.setParamValue (asParamSource(), ParamData::CHANNEL, position == 0 ? 0.0f : 1.0f);
    params.endParamGesture (asParamSource(), ParamData::CHANNEL);

    if (position != 0)
        params.setNonAutomatableParamValue (asSettingSource(), ParamData::SELECTED_CHANNEL, position - 1);
}

// Named by nobody, so every listener hears it, this view included.
void EQ700K_MainView::resetAllParameters()
{
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        params.beginParamGesture (nullptr, id);
        params.setParamValue (nullptr, id, ParamData::paramDefault[id]);
        params.endParamGesture (nullptr, id);
    }
}

void EQ700K_MainView::windowButtonClicked()
{
    // The editor reads the flag when it hears the change, and animates only then.
    windowClickFlag = true;
    params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, windowButton.getToggleState());
}

//==============================================================================
void EQ700K_MainView::paramValueChanged (int id, float value)
{
    if (id < 0 || id >= ParamData::NUM_PARAMS)
        return;

    if (id == ParamData::CHANNEL)
        followChannelMode (value);
    else
        followChannelControl ((id - ParamData::ENGAGE_1) % numParamsPerChannel, value);

    repaint();
}

void EQ700K_MainView::followChannelMode (float value)
{
    const auto position = value < 0.5f ? 0 : juce::roundToInt ((double) params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL)) + 1;
    channelSwitch.setValue ((float) position, juce::dontSendNotification);
}

void EQ700K_MainView::followChannelControl (int offset, float value)
{
    const auto channelOneId = (ParamData::ParamEnum) (ParamData::ENGAGE_1 + offset);

    if (channelOneId == ParamData::ENGAGE_1)
    {
        engageButton.getButton().setToggleState (value >= 0.5f, juce::dontSendNotification);
        engageButton.toggleStateChanged (engageButton.getButton());
        return;
    }

    for (size_t i = 0; i < knobRoles.size(); ++i)
    {
        if (knobRoles[i].channelOneId != channelOneId)
            continue;

        knobsInRoleOrder()[i]->setValue ((double) value, juce::dontSendNotification);

        if (isLinked() && isOn (knobRoles[i].hoverSetting))
            showValueOf (idOf (channelOneId));

        return;
    }

    if (auto* control = switchFor (channelOneId))
        control->setValue (value, juce::dontSendNotification);
}

HV_Switch_s500* EQ700K_MainView::switchFor (ParamData::ParamEnum channelOneId) noexcept
{
    if (channelOneId == ParamData::LO_CPS_1)
        return &cpsSwitch;
    if (channelOneId == ParamData::HI_BANDWIDTH_1)
        return &hiBwSwitch;
    if (channelOneId == ParamData::HI_KCS_BOOST_1)
        return &boostKcsSwitch;
    if (channelOneId == ParamData::HI_KCS_ATTEN_1)
        return &attenKcsSwitch;
    return nullptr;
}

void EQ700K_MainView::nonAutomatableParamValueChanged (int id, juce::var value)
{
    switch (id)
    {
        case ParamData::IS_CONNECTED:
            usbLamp.getLightDiode().setVisible ((bool) value);
            break;

        case ParamData::SELECTED_CHANNEL:
            followSelectedChannel (value);
            break;

        case ParamData::CLIPPER_DIODE_STATE_L:
            clipLamps.getLeftLightDiode().setVisible ((bool) value);
            break;

        case ParamData::CLIPPER_DIODE_STATE_R:
            clipLamps.getRightLightDiode().setVisible ((bool) value);
            break;

        case ParamData::MOUSE_OVER_HI_ATTEN_KNOB:
        case ParamData::MOUSE_OVER_HI_BOOST_KNOB:
        case ParamData::MOUSE_OVER_LO_ATTEN_KNOB:
        case ParamData::MOUSE_OVER_LO_BOOST_KNOB:
            followHoverSetting (id, (bool) value);
            break;

        case ParamData::DOUBLE_WINDOW:
            windowButton.setToggleState ((bool) value, juce::dontSendNotification);
            // The selector lights by the window mode: both strips follow it at once, whoever
            // changed it.
            channelSwitch.updateCurrentState (channelSwitch.getState(), juce::dontSendNotification);
            break;

        default:
            break;
    }
}

void EQ700K_MainView::followSelectedChannel (const juce::var& value)
{
    if (isLinked())
        return;

    channelSwitch.setValue ((float) (juce::roundToInt ((double) value) + 1), juce::dontSendNotification);
}

void EQ700K_MainView::followHoverSetting (int settingId, bool on)
{
    if (! isLinked())
        return;

    if (on)
        showValueOf (idOf (knobRoles[(size_t) (settingId - ParamData::MOUSE_OVER_HI_ATTEN_KNOB)].channelOneId));
    else
        holdThenBlankDisplay();
}
