#include "editor/EQ700K_MainView.h"

#include "core/ParamData.h"

#include "support/ChangeLog.h"
#include "support/ChannelStrip.h"
#include "support/MessagePump.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using testing_support::centreIn;
using testing_support::ChangeLog;
using testing_support::ChannelStripParts;
using testing_support::childrenOfKind;
using testing_support::litLampIndex;
using testing_support::mouseEventAt;
using testing_support::partsOf;
using Entry = ChangeLog::Entry;

namespace
{

/** A view that notes every parameter change it is told of. */
struct CountingView : EQ700K_MainView
{
    using EQ700K_MainView::EQ700K_MainView;
    using EQ700K_MainView::paramValueChanged;

    void paramValueChanged (int id, float value) override
    {
        told.push_back (id);
        EQ700K_MainView::paramValueChanged (id, value);
    }

    bool wasToldOf (int id) const { return std::find (told.begin(), told.end(), id) != told.end(); }

    std::vector<int> told;
};

juce::HvParamsManager::AutomatableParamListener* sourceOf (EQ700K_MainView& view)
{
    return &view;
}

std::vector<int> allParamIds()
{
    std::vector<int> ids;
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
        ids.push_back (id);
    return ids;
}

/** Listens to every parameter. */
struct FullChangeLog : ChangeLog
{
    explicit FullChangeLog (juce::HvParamsManager& toWatch) : ChangeLog (toWatch, {})
    {
        for (const auto id : allParamIds())
            listenTo (id);
    }
};

/** Calls back on every change of one setting. */
struct SettingWatch : juce::HvParamsManager::NonAutomatableParamListener
{
    SettingWatch (juce::HvParamsManager& m, int settingId, std::function<void (juce::var)> onChange)
        : manager (m), id (settingId), changed (std::move (onChange))
    {
        manager.addNonAutomatableParamListener (this, id, juce::HvParamsManager::noNotification);
    }

    ~SettingWatch() override { manager.removeNonAutomatableParamListener (this, id); }

    void nonAutomatableParamValueChanged (int, juce::var value) override { changed (value); }

    juce::HvParamsManager& manager;
    int id;
    std::function<void (juce::var)> changed;
};

/** A press and release on a scale mark as a real one arrives: at the mark, then at the knob,
    which listens to its marks (made-up events reach only the component they are given to). */
void clickScaleMark (juce::Component& mark, juce::Slider& knob)
{
    const auto centre = mark.getLocalBounds().getCentre().toFloat();
    const auto press = mouseEventAt (mark, centre, juce::ModifierKeys::leftButtonModifier);
    mark.mouseDown (press);
    knob.mouseDown (press);
    const auto release = mouseEventAt (mark, centre);
    mark.mouseUp (release);
    knob.mouseUp (release);
}

void clickWith (juce::Component& knob, juce::ModifierKeys modifiers)
{
    const auto centre = knob.getLocalBounds().getCentre().toFloat();
    testing_support::pressAt (knob, centre, modifiers);
    testing_support::releaseAt (knob, centre, centre, modifiers);
}

void dragUp (juce::Component& knob, float pixels)
{
    const auto from = knob.getLocalBounds().getCentre().toFloat();
    const auto to = from.translated (0.0f, -pixels);
    testing_support::pressAt (knob, from);
    testing_support::dragTo (knob, from, from.translated (0.0f, -pixels / 2.0f));
    testing_support::dragTo (knob, from, to);
    testing_support::releaseAt (knob, from, to);
}

/** The position lamp i of a step switch or the CH. selector, clicked where the user would. */
void clickPosition (EQ700K_MainView& view, juce::Component& control, int position)
{
    auto lamps = childrenOfKind<ButtonDarkDiode> (control);
    ASSERT_LT ((size_t) position, lamps.size());
    testing_support::clickAt (view, centreIn (view, *lamps[(size_t) position]));
}

/** Checks that the entries are one gesture: a begin, values, an end, all from the source. */
void expectOneGesture (const std::vector<Entry>& entries, juce::HvParamsManager::AutomatableParamListener* source,
                       int minValues, int maxValues)
{
    ASSERT_GE (entries.size(), 2u);
    EXPECT_EQ (entries.front().kind, Entry::begin);
    EXPECT_EQ (entries.back().kind, Entry::end);

    int values = 0;
    for (size_t i = 1; i + 1 < entries.size(); ++i)
    {
        EXPECT_EQ (entries[i].kind, Entry::value) << "entry " << i;
        values += entries[i].kind == Entry::value ? 1 : 0;
    }

    EXPECT_GE (values, minValues);
    EXPECT_LE (values, maxValues);

    for (const auto& e : entries)
        EXPECT_EQ (e.source, source);
}

class ChannelViewBindings : public testing_support::ChannelStripTest
{
protected:
    void setLinked (bool linked) { params.setParamValue (nullptr, ParamData::CHANNEL, linked ? 0.0f : 1.0f); }
};

} // namespace

//==============================================================================
// A drag, a click with the reset modifier (Ctrl on this host) and a click on a scale mark each
// reach the manager as one gesture named by the view, which is not told of its own changes.
// Alt is a plain click here: a gesture without a change.
TEST_F (ChannelViewBindings, KnobGesturesAreCompleteAndNamedByTheView)
{
    auto view = makeView<CountingView> (1);
    const auto parts = partsOf (*view);
    const int ids[] = { ParamData::HI_ATTEN_2, ParamData::HI_BOOST_2, ParamData::LO_ATTEN_2, ParamData::LO_BOOST_2 };

    const struct Way
    {
        const char* what;
        std::function<void (HV_Knob_s500&)> act;
        double expected;
        int minValues, maxValues;
    } ways[] = {
        { "drag up 64 pixels", [] (HV_Knob_s500& k) { dragUp (k, 64.0f); }, 0.75, 1, 2 },
        { "Ctrl-click", [] (HV_Knob_s500& k) { clickWith (k, juce::ModifierKeys::commandModifier); }, 0.0, 1, 1 },
        { "scale mark 4", [] (HV_Knob_s500& k) { clickScaleMark (*k.getScaleLabels()[4], k); }, 0.4, 1, 1 },
        { "Alt-click", [] (HV_Knob_s500& k) { clickWith (k, juce::ModifierKeys::altModifier); }, 0.5, 0, 0 },
    };

    for (int k = 0; k < 4; ++k)
    {
        for (const auto& way : ways)
        {
            SCOPED_TRACE (juce::String (ids[k]) + ", " + way.what);
            params.setParamValue (nullptr, ids[k], 0.5f);
            auto& knob = *parts.knob (k);
            view->told.clear();
            ChangeLog log (params, { ids[k] });

            way.act (knob);

            expectOneGesture (log.entries, sourceOf (*view), way.minValues, way.maxValues);
            EXPECT_NEAR (params.getParamValue (ids[k]), way.expected, 1e-6);
            EXPECT_NEAR (knob.getValue(), way.expected, 1e-6);
            EXPECT_FALSE (view->wasToldOf (ids[k]));

            if (way.maxValues > 0)
            {
                EXPECT_EQ (parts.display->getReading(), SevenSegmentDisplay::parseText (params.getCurrentValueAsText (ids[k])));
            }
        }
    }
}

// Hosts that keep Command-click for themselves (Audio Unit, AAX) reset with Alt; the others with
// Command (Ctrl here). The other modifier is a plain click.
TEST_F (ChannelViewBindings, TheResetModifierFollowsTheHostsWrapper)
{
    using Wrapper = juce::AudioProcessor::WrapperType;
    const auto command = juce::ModifierKeys (juce::ModifierKeys::commandModifier);
    const auto alt = juce::ModifierKeys (juce::ModifierKeys::altModifier);

    const struct
    {
        Wrapper wrapper;
        juce::ModifierKeys resets, doesNotReset;
    } cases[] = {
        { juce::AudioProcessor::wrapperType_Undefined, command, alt },
        { juce::AudioProcessor::wrapperType_VST3, command, alt },
        { juce::AudioProcessor::wrapperType_AudioUnit, alt, command },
        { juce::AudioProcessor::wrapperType_AAX, alt, command },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ((int) c.wrapper);

        // A wrapper names itself so before it builds the instance.
        juce::AudioProcessor::setTypeOfNextNewPlugin (c.wrapper);
        Eq713kPluginInstance hosted;
        juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
        ASSERT_EQ (hosted.wrapperType, c.wrapper);

        auto& hostedParams = hosted.getProductManager();
        EQ700K_MainView view (hosted, hostedParams, EQ700K_MainView::firstChannel, windowClickFlag);
        view.setBounds (0, 0, 325, 570);
        auto& knob = *partsOf (view).loBoostKnob;

        hostedParams.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.5f);
        clickWith (knob, c.doesNotReset);
        EXPECT_EQ (hostedParams.getParamValue (ParamData::LO_BOOST_1), 0.5f);

        clickWith (knob, c.resets);
        EXPECT_EQ (hostedParams.getParamValue (ParamData::LO_BOOST_1), 0.0f);
    }
}

// Position i of n stands for i / (n - 1) to two decimals, sent in a gesture of its own.
TEST_F (ChannelViewBindings, EachSwitchPositionIsItsValueInsideItsOwnGesture)
{
    auto view = makeView<CountingView> (0);
    const auto parts = partsOf (*view);

    const struct
    {
        juce::Component* control;
        int id;
        std::vector<float> values;
    } switches[] = {
        { parts.cpsSwitch, ParamData::LO_CPS_1, { 0.0f, 0.33f, 0.67f, 1.0f } },
        { parts.boostKcsSwitch, ParamData::HI_KCS_BOOST_1, { 0.0f, 0.17f, 0.33f, 0.5f, 0.67f, 0.83f, 1.0f } },
        { parts.hiBwSwitch, ParamData::HI_BANDWIDTH_1, { 0.0f, 0.33f, 0.67f, 1.0f } },
        { parts.attenKcsSwitch, ParamData::HI_KCS_ATTEN_1, { 0.0f, 0.5f, 1.0f } },
    };

    for (const auto& s : switches)
    {
        for (int position = (int) s.values.size() - 1; position >= 0; --position)
        {
            SCOPED_TRACE (juce::String (s.id) + " position " + juce::String (position));
            ChangeLog log (params, { s.id });
            view->told.clear();

            clickPosition (*view, *s.control, position);

            ASSERT_EQ (log.entries.size(), 3u);
            expectOneGesture (log.entries, sourceOf (*view), 1, 1);
            EXPECT_NEAR (log.entries[1].newValue, s.values[(size_t) position], 1e-6);
            EXPECT_FALSE (view->wasToldOf (s.id));
        }
    }
}

TEST_F (ChannelViewBindings, EngageTogglesInsideAGesture)
{
    auto view = makeView (1);
    auto& engage = *partsOf (*view).engageButton;
    auto& unlitLamp = *childrenOfKind<ButtonDarkDiode> (engage).front();
    ChangeLog log (params, { ParamData::ENGAGE_2 });

    for (const auto expected : { 0.0f, 1.0f })
    {
        log.entries.clear();
        testing_support::clickAt (*view, centreIn (*view, unlitLamp));

        ASSERT_EQ (log.entries.size(), 3u);
        expectOneGesture (log.entries, sourceOf (*view), 1, 1);
        EXPECT_EQ (log.entries[1].newValue, expected);
        EXPECT_EQ (litLampIndex (engage), expected > 0.5f ? 0 : -1);
    }
}

// CHANNEL first, its gesture ended, then "SELECTED CHANNEL"; LINK leaves the selection alone.
// The other strip follows.
TEST_F (ChannelViewBindings, TheChannelSelectorSetsTheModeThenTheSelectedChannel)
{
    const struct
    {
        const char* what;
        float channelBefore;
        int selectedBefore, clicked;
        float channelAfter;
        int selectedAfter;
    } cases[] = {
        { "LINK -> 2", 0.0f, 0, 2, 1.0f, 1 },
        { "LINK -> 1", 0.0f, 1, 1, 1.0f, 0 },
        { "2 -> 1", 1.0f, 1, 1, 1.0f, 0 },
        { "2 -> LINK", 1.0f, 1, 0, 0.0f, 1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, c.selectedBefore);
        params.setParamValue (nullptr, ParamData::CHANNEL, c.channelBefore);
        auto view = makeView (0);
        auto other = makeView (1);
        auto& selector = *partsOf (*view).channelSwitch;

        ChangeLog log (params, { ParamData::CHANNEL });
        log.listenToSetting (ParamData::SELECTED_CHANNEL);
        clickPosition (*view, selector, c.clicked);

        const auto source = sourceOf (*view);
        std::vector<Entry> expected { { Entry::begin, 0, 0.0f, source }, { Entry::value, 0, c.channelAfter, source },
                                      { Entry::end, 0, 0.0f, source } };
        if (c.clicked != 0)
            expected.push_back ({ Entry::setting, ParamData::SELECTED_CHANNEL, (float) c.selectedAfter, nullptr });

        ASSERT_EQ (log.entries.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
        {
            EXPECT_EQ (log.entries[i].kind, expected[i].kind) << i;
            EXPECT_EQ (log.entries[i].id, expected[i].id) << i;
            EXPECT_EQ (log.entries[i].newValue, expected[i].newValue) << i;
            EXPECT_EQ (log.entries[i].source, expected[i].source) << i;
        }

        EXPECT_EQ ((int) params.getNonAutomatableParamValue (ParamData::SELECTED_CHANNEL), c.selectedAfter);
        EXPECT_EQ (selector.getState(), c.clicked);
        EXPECT_EQ (partsOf (*other).channelSwitch->getState(), c.clicked);
    }
}

//==============================================================================
namespace
{

/** What a channel's control shows of its parameter. */
struct ControlReading
{
    ParamData::ParamEnum channelOneId;
    float value;
    double shown;
    std::function<double (const ChannelStripParts&)> read;
};

const ControlReading controlReadings[] {
    // The button's state, or -1 when its lamp does not show it.
    { ParamData::ENGAGE_1, 0.0f, 0.0, [] (const ChannelStripParts& p)
      {
          const auto on = p.engageButton->getButton().getToggleState();
          return on == (litLampIndex (*p.engageButton) == 0) ? (on ? 1.0 : 0.0) : -1.0;
      } },
    { ParamData::LO_BOOST_1, 0.37f, 0.37, [] (const ChannelStripParts& p) { return p.loBoostKnob->getValue(); } },
    { ParamData::LO_ATTEN_1, 0.42f, 0.42, [] (const ChannelStripParts& p) { return p.loAttenKnob->getValue(); } },
    { ParamData::LO_CPS_1, 1.0f, 3.0, [] (const ChannelStripParts& p) { return (double) p.cpsSwitch->getState(); } },
    { ParamData::HI_BOOST_1, 0.9f, 0.9, [] (const ChannelStripParts& p) { return p.hiBoostKnob->getValue(); } },
    { ParamData::HI_ATTEN_1, 0.12f, 0.12, [] (const ChannelStripParts& p) { return p.hiAttenKnob->getValue(); } },
    { ParamData::HI_BANDWIDTH_1, 0.67f, 2.0, [] (const ChannelStripParts& p) { return (double) p.hiBwSwitch->getState(); } },
    { ParamData::HI_KCS_BOOST_1, 0.83f, 5.0, [] (const ChannelStripParts& p) { return (double) p.boostKcsSwitch->getState(); } },
    { ParamData::HI_KCS_ATTEN_1, 0.5f, 1.0, [] (const ChannelStripParts& p) { return (double) p.attenKcsSwitch->getState(); } },
};

} // namespace

// Channel 0 listens to ids 1..9, channel 1 to 10..18, and so does any other channel id. Changes
// from outside (a restore, the unit, the linker) move the controls and nothing goes back out:
// no gesture, no value, no setting.
TEST_F (ChannelViewBindings, ExternalChangesMoveTheChannelsControlsSilently)
{
    for (const int channel : { 0, 1, 7 })
    {
        SCOPED_TRACE ("channel " + juce::String (channel));
        auto view = makeView (channel);
        const auto parts = partsOf (*view);
        const auto ownOffset = channel == 0 ? 0 : ParamData::channelStride;
        const auto otherOffset = ParamData::channelStride - ownOffset;

        FullChangeLog log (params);
        for (const auto id : { ParamData::IS_CONNECTED, ParamData::SELECTED_CHANNEL, ParamData::CLIPPER_DIODE_STATE_L,
                               ParamData::CLIPPER_DIODE_STATE_R, ParamData::MOUSE_OVER_HI_ATTEN_KNOB,
                               ParamData::MOUSE_OVER_LO_BOOST_KNOB, ParamData::DOUBLE_WINDOW })
            log.listenToSetting (id);

        juce::HvParamsManager::AutomatableParamListener unit;
        size_t changesMade = 0;

        for (const auto& r : controlReadings)
        {
            SCOPED_TRACE (r.channelOneId);
            const auto before = r.read (parts);

            // The other channel's parameter leaves this strip alone.
            params.setParamValue (&unit, r.channelOneId + otherOffset, r.value);
            EXPECT_EQ (r.read (parts), before);

            params.setParamValue (changesMade % 2 == 0 ? nullptr : &unit, r.channelOneId + ownOffset, r.value);
            EXPECT_NEAR (r.read (parts), r.shown, 1e-6);
            changesMade += 2;
        }

        params.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
        params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 1);
        EXPECT_EQ (parts.channelSwitch->getState(), 2);
        params.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
        EXPECT_TRUE (parts.usbLamp->getLightDiode().isVisible());
        params.setNonAutomatableParamValue (nullptr, ParamData::CLIPPER_DIODE_STATE_R, true);
        EXPECT_TRUE (parts.clipLamps->getRightLightDiode().isVisible());
        EXPECT_FALSE (parts.clipLamps->getLeftLightDiode().isVisible());
        params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
        EXPECT_TRUE (parts.windowButton->getToggleState());
        EXPECT_FALSE (windowClickFlag);
        changesMade += 5;

        EXPECT_EQ (log.entries.size(), changesMade) << "only the changes made here";
        for (const auto& e : log.entries)
            EXPECT_TRUE (e.kind == Entry::value || e.kind == Entry::setting);

        params.setParamValue (nullptr, ParamData::CHANNEL, 0.0f);
        for (const auto id : allParamIds())
            params.setParamValue (nullptr, id, ParamData::paramDefault[id]);
        for (const auto id : { ParamData::IS_CONNECTED, ParamData::CLIPPER_DIODE_STATE_R, ParamData::DOUBLE_WINDOW })
            params.setNonAutomatableParamValue (nullptr, id, false);
    }
}

// A change of "DOUBLE WINDOW" that does not come from a window button (the host, a restore)
// relights the selectors of all strips at once: in the double window each strip lights its own
// channel. A strip of any channel id but 0 is the second channel's.
TEST_F (ChannelViewBindings, EverySelectorFollowsTheWindowModeAtOnce)
{
    setLinked (false);
    params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 0);
    auto first = makeView (0);
    auto second = makeView (1);
    auto otherId = makeView (7);
    const auto litLamps = [&]
    {
        return std::vector<int> { litLampIndex (*partsOf (*first).channelSwitch), litLampIndex (*partsOf (*second).channelSwitch),
                                  litLampIndex (*partsOf (*otherId).channelSwitch) };
    };

    EXPECT_EQ (litLamps(), (std::vector<int> { 1, 1, 1 }));

    params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
    EXPECT_EQ (litLamps(), (std::vector<int> { 1, 2, 2 }));

    params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, false);
    EXPECT_EQ (litLamps(), (std::vector<int> { 1, 1, 1 }));
    EXPECT_FALSE (windowClickFlag);
}

// The click toggles the button, sets the editor's flag and only then tells everyone, the view
// itself and the other strip included, of the new mode.
TEST_F (ChannelViewBindings, TheWindowButtonSetsTheFlagBeforeTheWindowMode)
{
    auto first = makeView (0);
    auto second = makeView (1);
    auto& button = *partsOf (*first).windowButton;
    std::vector<std::pair<bool, bool>> heard; // the new mode, the flag when it was heard

    SettingWatch watch (params, ParamData::DOUBLE_WINDOW, [&] (juce::var v) { heard.emplace_back ((bool) v, windowClickFlag); });

    for (const auto on : { true, false })
    {
        heard.clear();
        windowClickFlag = false;
        button.triggerClick();
        ASSERT_TRUE (testing_support::pumpUntil ([&] { return ! heard.empty(); }));

        EXPECT_EQ (heard, (std::vector<std::pair<bool, bool>> { { on, true } }));
        EXPECT_EQ ((bool) params.getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW), on);
        EXPECT_EQ (button.getToggleState(), on);
        EXPECT_EQ (partsOf (*second).windowButton->getToggleState(), on);
    }
}

// A press on a clip lamp, lit or not, through the shown overlay, clears its setting (the integer
// 0) and the lamp on both strips.
TEST_F (ChannelViewBindings, ClipLampsAreClearedFromEitherStrip)
{
    params.setNonAutomatableParamValue (nullptr, ParamData::CLIPPER_DIODE_STATE_L, true);
    params.setNonAutomatableParamValue (nullptr, ParamData::CLIPPER_DIODE_STATE_R, true);
    auto first = makeView (0);
    auto second = makeView (1);
    partsOf (*first).overlay->setVisible (true);

    ChangeLog log (params, {});
    log.listenToSetting (ParamData::CLIPPER_DIODE_STATE_L);
    log.listenToSetting (ParamData::CLIPPER_DIODE_STATE_R);

    const auto pressLamp = [] (EQ700K_MainView& view, int which)
    {
        auto& clip = *partsOf (view).clipLamps;
        testing_support::clickAt (view, centreIn (view, *childrenOfKind<ButtonDarkDiode> (clip)[(size_t) which]));
    };

    pressLamp (*first, 0);
    EXPECT_TRUE (params.getNonAutomatableParamValue (ParamData::CLIPPER_DIODE_STATE_L).isInt());
    EXPECT_EQ ((int) params.getNonAutomatableParamValue (ParamData::CLIPPER_DIODE_STATE_L), 0);
    for (auto* view : { first.get(), second.get() })
    {
        EXPECT_FALSE (partsOf (*view).clipLamps->getLeftLightDiode().isVisible());
        EXPECT_TRUE (partsOf (*view).clipLamps->getRightLightDiode().isVisible());
    }

    pressLamp (*second, 1);
    pressLamp (*second, 1);
    for (auto* view : { first.get(), second.get() })
        EXPECT_FALSE (partsOf (*view).clipLamps->getRightLightDiode().isVisible());

    ASSERT_EQ (log.entries.size(), 3u) << "an unlit lamp is cleared all the same";
    EXPECT_EQ (log.entries[0].id, ParamData::CLIPPER_DIODE_STATE_L);
    EXPECT_EQ (log.entries[1].id, ParamData::CLIPPER_DIODE_STATE_R);
    EXPECT_EQ (log.entries[2].id, ParamData::CLIPPER_DIODE_STATE_R);
}

// Dragging or wheeling the PRESET knob does nothing; a double-click sets every parameter to its
// default, in id order, each in a gesture of its own, named by nobody, so this strip is told too.
TEST_F (ChannelViewBindings, ThePresetDoubleClickResetsAllParametersToTheirDefaults)
{
    for (const auto id : allParamIds())
        if (id != ParamData::CHANNEL)
            params.setParamValue (nullptr, id, 0.9f);
    params.setNonAutomatableParamValue (nullptr, ParamData::CLIPPER_DIODE_STATE_L, true);

    auto view = makeView<CountingView> (0);
    auto& preset = *partsOf (*view).presetKnob;
    FullChangeLog log (params);
    view->told.clear();

    dragUp (preset, 100.0f);
    preset.mouseWheelMove (mouseEventAt (preset, { 68.0f, 68.0f }), juce::MouseWheelDetails { 0.0f, 1.0f, false, false, false });
    EXPECT_TRUE (log.entries.empty());

    preset.mouseDoubleClick (mouseEventAt (preset, { 68.0f, 68.0f }, {}, 2));

    ASSERT_EQ (log.entries.size(), 3u * ParamData::NUM_PARAMS);
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        SCOPED_TRACE (id);
        const auto* e = &log.entries[(size_t) (3 * id)];
        EXPECT_EQ (e[0].kind, Entry::begin);
        EXPECT_EQ (e[1].kind, Entry::value);
        EXPECT_EQ (e[2].kind, Entry::end);
        EXPECT_EQ (e[1].newValue, ParamData::paramDefault[id]);
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ (e[i].id, id);
            EXPECT_EQ (e[i].source, nullptr);
        }
    }

    EXPECT_EQ (view->told, (std::vector<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_TRUE ((bool) params.getNonAutomatableParamValue (ParamData::CLIPPER_DIODE_STATE_L)) << "settings are kept";
}

//==============================================================================
// In LINK the strip under the pointer and the other strip both show the knob's value, follow
// its changes and blank when their timers expire after the pointer leaves; in DUAL MONO only the
// strip under the pointer shows it, and keeps what it showed.
TEST_F (ChannelViewBindings, HoverShowsTheValueOnOneOrBothStripsThenBlanks)
{
    for (const auto linked : { true, false })
    {
        SCOPED_TRACE (linked ? "LINK" : "DUAL MONO");
        setLinked (linked);
        params.setParamValue (nullptr, ParamData::HI_BOOST_1, 0.8f);
        params.setParamValue (nullptr, ParamData::HI_BOOST_2, 0.8f);
        auto hovered = makeView (0);
        auto other = makeView (1);
        auto& knob = *partsOf (*hovered).hiBoostKnob;
        auto& hoveredDisplay = *partsOf (*hovered).display;
        auto& otherDisplay = *partsOf (*other).display;
        const auto shows = [] (const juce::String& text) { return SevenSegmentDisplay::parseText (text); };
        const SevenSegmentDisplay::Reading blank;

        knob.mouseEnter (mouseEventAt (knob, { 68.0f, 68.0f }));
        EXPECT_TRUE ((bool) params.getNonAutomatableParamValue (ParamData::MOUSE_OVER_HI_BOOST_KNOB));
        EXPECT_EQ (hoveredDisplay.getReading(), shows ("8.0"));
        EXPECT_EQ (otherDisplay.getReading(), linked ? shows ("8.0") : blank);

        // A change from outside while the pointer stays.
        params.setParamValue (nullptr, ParamData::HI_BOOST_1, 0.3f);
        params.setParamValue (nullptr, ParamData::HI_BOOST_2, 0.3f);
        EXPECT_EQ (hoveredDisplay.getReading(), shows (linked ? "3.0" : "8.0"));
        EXPECT_EQ (otherDisplay.getReading(), linked ? shows ("3.0") : blank);

        knob.mouseExit (mouseEventAt (knob, { 68.0f, 68.0f }));
        EXPECT_FALSE ((bool) params.getNonAutomatableParamValue (ParamData::MOUSE_OVER_HI_BOOST_KNOB));
        EXPECT_TRUE (hoveredDisplay.isTimerRunning());
        EXPECT_EQ (hoveredDisplay.getTimerInterval(), 1000);
        EXPECT_EQ (otherDisplay.isTimerRunning(), linked);

        hoveredDisplay.timerCallback();
        otherDisplay.timerCallback();
        EXPECT_EQ (hoveredDisplay.getReading(), blank);
        EXPECT_EQ (otherDisplay.getReading(), blank);
    }
}

// A view that goes while the pointer is over one of its knobs hears no mouse exit: it clears
// the hover setting itself, so the other strip (and the next editor) does not stay lit.
TEST_F (ChannelViewBindings, AViewGoingMidHoverClearsTheHoverSetting)
{
    auto hovered = makeView (0);
    auto other = makeView (1);
    auto& otherDisplay = *partsOf (*other).display;
    auto& knob = *partsOf (*hovered).loAttenKnob;

    knob.mouseEnter (mouseEventAt (knob, { 68.0f, 68.0f }));
    ASSERT_TRUE ((bool) params.getNonAutomatableParamValue (ParamData::MOUSE_OVER_LO_ATTEN_KNOB));
    ASSERT_EQ (otherDisplay.getReading(), SevenSegmentDisplay::parseText ("0.0"));
    otherDisplay.stopTimer();

    ChangeLog log (params, {});
    for (int id = ParamData::MOUSE_OVER_HI_ATTEN_KNOB; id <= ParamData::MOUSE_OVER_LO_BOOST_KNOB; ++id)
        log.listenToSetting (id);

    hovered.reset();

    EXPECT_FALSE ((bool) params.getNonAutomatableParamValue (ParamData::MOUSE_OVER_LO_ATTEN_KNOB));
    ASSERT_EQ (log.entries.size(), 1u) << "only the setting it had set";
    EXPECT_EQ (log.entries[0].id, ParamData::MOUSE_OVER_LO_ATTEN_KNOB);
    EXPECT_TRUE (otherDisplay.isTimerRunning());

    // A view that was not hovered changes no setting as it goes.
    other.reset();
    EXPECT_EQ (log.entries.size(), 1u);
}

// A strip closed in the middle of a drag still ends the gesture it began.
TEST_F (ChannelViewBindings, AViewGoingMidDragEndsItsGesture)
{
    auto view = makeView (0);
    auto& knob = *partsOf (*view).hiAttenKnob;
    ChangeLog log (params, { ParamData::HI_ATTEN_1 });

    const auto from = knob.getLocalBounds().getCentre().toFloat();
    testing_support::pressAt (knob, from);
    testing_support::dragTo (knob, from, from.translated (0.0f, -32.0f));
    view.reset();

    ASSERT_GE (log.entries.size(), 3u);
    EXPECT_EQ (log.entries.front().kind, Entry::begin);
    EXPECT_EQ (log.entries.back().kind, Entry::end);
}
