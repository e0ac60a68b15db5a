#include "ScreenshotSession.h"

#include "PictureChecks.h"

#include "core/ParamData.h"
#include "link/MidiManager.h"
#include "support/MessagePump.h"
#include "support/SimulatedUnit.h"

#include <iostream>
#include <set>
#include <utility>
#include <vector>

namespace screenshots
{

namespace
{

using testing_support::pumpFor;
using testing_support::pumpPendingMessages;
using testing_support::pumpUntil;
using testing_support::SimulatedUnit;

constexpr int patienceMs = 15000;

/** Long enough for the window to settle after it is first shown, then long enough to see a
    paint that repeats (a blinking lamp blinks every 500 ms). */
constexpr int settleMs = 500, idleMs = 2000;

/** The connection's set-up, in which the instance sends the unit its values, is over by then. */
constexpr int setUpMs = 1000;

/** The brightest a popup's background may be. */
constexpr float darkest = 80.0f;

/** The share of a popup's pixels its painting changes at least. Unpainted, it changes none; its
    dark background over the faceplate's dark upper plate changes only the lettering, the lamps
    and the texture (about a quarter), over the empty screen nearly all. */
constexpr float minimumChangedShare = 0.1f;

std::unique_ptr<Eq713kPluginInstance> newInstance()
{
    auto instance = std::make_unique<Eq713kPluginInstance>();
    pumpPendingMessages();
    return instance;
}

void destroy (std::unique_ptr<Eq713kPluginInstance>& instance)
{
    instance.reset();
    pumpPendingMessages();
}

int listedUnits()
{
    auto* manager = juce::MidiManager::getInstanceWithoutCreating();
    return manager != nullptr ? manager->getConnectionList()->size() : 0;
}

bool isConnected (const Eq713kPluginInstance& instance)
{
    return instance.getProductManager().getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true);
}

SimulatedUnit::Options unitNumbered (int serialNumber)
{
    SimulatedUnit::Options options;
    options.serialNumber = serialNumber;
    return options;
}

/** A knob turned on the unit: its hardware number, the value it reports (0..250) and the
    parameter of the first channel that shows it. */
struct TurnedKnob
{
    int hardwareNumber;
    int value;
    ParamData::ParamEnum parameter;
};

const TurnedKnob turnedOnTheUnit[] {
    { 10, 75, ParamData::HI_ATTEN_1 },
    { 5, 200, ParamData::HI_BOOST_1 },
    { 9, 25, ParamData::LO_ATTEN_1 },
    { 4, 150, ParamData::LO_BOOST_1 },
};

void turnKnobsOn (SimulatedUnit& unit)
{
    std::vector<std::pair<int, int>> reports;

    for (const auto& knob : turnedOnTheUnit)
        reports.emplace_back (knob.hardwareNumber, knob.value);

    unit.sendValues (reports);
}

bool showsKnobsTurnedOnTheUnit (const Eq713kParamsManager& params)
{
    for (const auto& knob : turnedOnTheUnit)
        if (std::abs (params.getParamValue (knob.parameter) - (float) knob.value / 250.0f) > 0.005f)
            return false;

    return true;
}

/** Values far from the defaults, different on the two channels; switches of several positions
    at a position in between. */
const std::pair<ParamData::ParamEnum, float> dualMonoValues[] {
    { ParamData::LO_BOOST_1, 0.7f },      { ParamData::LO_ATTEN_1, 0.2f },     { ParamData::HI_BOOST_1, 0.45f },
    { ParamData::HI_ATTEN_1, 0.1f },      { ParamData::LO_CPS_1, 1.0f / 3.0f }, { ParamData::HI_BANDWIDTH_1, 1.0f },
    { ParamData::HI_KCS_BOOST_1, 4.0f / 6.0f }, { ParamData::HI_KCS_ATTEN_1, 0.5f },
    { ParamData::ENGAGE_2, 0.0f },        { ParamData::LO_BOOST_2, 0.3f },     { ParamData::LO_ATTEN_2, 0.6f },
    { ParamData::HI_BOOST_2, 0.9f },      { ParamData::HI_ATTEN_2, 0.5f },     { ParamData::LO_CPS_2, 1.0f },
    { ParamData::HI_BANDWIDTH_2, 0.0f },  { ParamData::HI_KCS_BOOST_2, 1.0f / 6.0f }, { ParamData::HI_KCS_ATTEN_2, 1.0f },
};

} // namespace

ScreenshotSession::ScreenshotSession (const XServerProbe& screenToUse, const juce::File& folderForPictures)
    : screen (screenToUse), folder (folderForPictures)
{
}

int ScreenshotSession::run()
{
    parkPointer();

    report ("single window, LINK, no unit", singleWindowNoUnit());
    report ("single window, a unit connected, the pointer on HI BOOST", singleWindowWithUnit());
    report ("double window, DUAL MONO, channel 2 selected", doubleWindowDualMono());
    report ("device selector open, two units, one connected", deviceSelectorOpen());
    report ("menu open", menuOpen());
    report ("window button pressed, the second strip partly out", windowButtonMidSlide());

    return failures;
}

//==============================================================================
Findings ScreenshotSession::singleWindowNoUnit()
{
    Findings findings;
    auto instance = newInstance();

    {
        EditorWindow window (*instance, windowPosition);

        if (waitUntilShown (window, false, findings))
        {
            expectIdleWindowPaintsNothing (window, "single window");

            const auto picture = takePicture (window);
            pictureChecks::expectNotBlank (picture, window, findings);
            pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the strip", findings);
            pictureChecks::expectUsbButtonLit (picture, window, false, findings);
            save (picture, "01-single-window-link-no-unit", findings);
        }
    }

    destroy (instance);
    return findings;
}

Findings ScreenshotSession::singleWindowWithUnit()
{
    Findings findings;
    SimulatedUnit unit (unitNumbered (5));
    auto instance = newInstance();
    const auto& params = instance->getProductManager();

    {
        EditorWindow window (*instance, windowPosition);

        if (waitUntilShown (window, false, findings))
        {
            // With one unit listed, the connection poll takes it; past the set-up, knobs are
            // turned on the unit.
            if (! pumpUntil ([&] { return isConnected (*instance); }, patienceMs))
                findings.add ("the instance did not connect to the only unit listed");

            pumpFor (setUpMs);
            turnKnobsOn (unit);

            if (! pumpUntil ([&] { return showsKnobsTurnedOnTheUnit (params); }, patienceMs))
                findings.add ("the knobs turned on the unit did not reach the instance's parameters");

            const auto knob = window.onScreen (editorLayout::firstStrip + editorLayout::hiBoostKnob);
            screen.movePointer (knob.x, knob.y);

            keepLookingUntil ([&]
            {
                Findings lit;
                pictureChecks::expectDisplayShowsAValue (takePicture (window), window, lit);
                return lit.isEmpty();
            }, patienceMs);

            const auto picture = takePicture (window);
            pictureChecks::expectNotBlank (picture, window, findings);
            pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the strip", findings);
            pictureChecks::expectUsbButtonLit (picture, window, true, findings);
            pictureChecks::expectDisplayShowsAValue (picture, window, findings);
            save (picture, "02-single-window-unit-connected-hover", findings);
        }

        parkPointer();
    }

    destroy (instance);
    return findings;
}

Findings ScreenshotSession::doubleWindowDualMono()
{
    Findings findings;
    auto instance = newInstance();
    auto& params = instance->getProductManager();

    params.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);

    for (const auto& [parameter, value] : dualMonoValues)
        params.setParamValue (nullptr, parameter, value);

    params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 1);
    params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
    pumpPendingMessages();

    {
        EditorWindow window (*instance, windowPosition);

        if (waitUntilShown (window, true, findings))
        {
            expectIdleWindowPaintsNothing (window, "double window");

            const auto picture = takePicture (window);
            pictureChecks::expectNotBlank (picture, window, findings);
            pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the first strip", findings);
            pictureChecks::expectStripAt (picture, window, editorLayout::secondStrip, "the second strip", findings);
            pictureChecks::expectGreyedDarker (picture, window, editorLayout::firstStrip, editorLayout::secondStrip, findings);
            pictureChecks::expectUsbButtonLit (picture, window, false, findings);
            save (picture, "03-double-window-dual-mono-channel-2", findings);
        }
    }

    destroy (instance);
    return findings;
}

Findings ScreenshotSession::deviceSelectorOpen()
{
    Findings findings;
    SimulatedUnit ours (unitNumbered (5)), freeUnit (unitNumbered (6));
    auto instance = newInstance();
    auto& params = instance->getProductManager();

    // Held back from connecting until both units are listed, then connected to one of them,
    // as the selector's CONNECT does.
    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);

    if (! pumpUntil ([] { return listedUnits() == 2; }, patienceMs))
        findings.add ("the two units were not listed");

    params.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, true);
    instance->connectWithDevice (5);

    if (! pumpUntil ([&] { return isConnected (*instance); }, patienceMs))
        findings.add ("the instance did not connect to unit 5");

    showPopup (*instance, { editorLayout::usbButton, "device selector", 2 * 25, true },
               "04-device-selector-two-units-one-connected", findings);
    destroy (instance);
    return findings;
}

Findings ScreenshotSession::menuOpen()
{
    Findings findings;
    auto instance = newInstance();
    showPopup (*instance, { editorLayout::menuButton, "menu", 40, false }, "05-menu-open", findings);
    destroy (instance);
    return findings;
}

void ScreenshotSession::showPopup (Eq713kPluginInstance& instance, const Popup& popupToOpen, const juce::String& fileName,
                                   Findings& findings)
{
    EditorWindow window (instance, windowPosition);

    if (waitUntilShown (window, false, findings))
    {
        if (! window.takeKeyboardFocus (patienceMs))
            findings.add ("the window did not get the keyboard focus");

        if (const auto popup = clickForPopup (window, popupToOpen.opener, popupToOpen.name, findings))
        {
            const auto picture = ScreenPicture::takeAround (screen, { window.areaOnScreen(), *popup });
            pictureChecks::expectNotBlank (picture, window, findings);
            pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the strip", findings);
            pictureChecks::expectUsbButtonLit (picture, window, popupToOpen.unitConnected, findings);
            pictureChecks::expectPopupOnScreen (picture, *popup, { screen.screenWidth(), screen.screenHeight() },
                                                popupToOpen.minimumHeight, popupToOpen.name, findings);
            save (picture, fileName, findings);
        }

        closePopups();
    }

    parkPointer();
}

Findings ScreenshotSession::windowButtonMidSlide()
{
    Findings findings;
    auto instance = newInstance();

    {
        EditorWindow window (*instance, windowPosition);

        if (waitUntilShown (window, false, findings))
        {
            auto& editor = window.getEditor();
            auto& secondStrip = editor.getPanel (1);
            auto& params = instance->getProductManager();

            // The second strip's first showing renders its cached images, which takes longer
            // than the whole slide in a sanitizer build: it is shown once beforehand, so that
            // the slide gets frames of its own.
            params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
            pumpFor (settleMs);
            params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, false);
            pumpFor (settleMs);

            const auto button = window.onScreen (editorLayout::firstStrip + editorLayout::windowButton);
            const auto isPartlyOut = [&] { return secondStrip.getX() >= 40 && secondStrip.getX() <= 285; };
            const auto hasStopped = [&] (int width, int stripX)
            {
                return window.getWidth() == width && secondStrip.getX() == stripX && ! editor.getAnimator().isAnimating (&secondStrip);
            };

            // Wider at once; after a pause the second strip slides out from under the first,
            // one step a display refresh. A slow build may step over the middle: then the
            // strip is slid back in and out again.
            constexpr int slides = 10;
            auto caughtAt = -1;

            for (int slide = 1; slide <= slides && caughtAt < 0; ++slide)
            {
                screen.click (button.x, button.y);

                if (pumpUntil ([&] { return isPartlyOut() || hasStopped (650, 325); }, patienceMs) && isPartlyOut())
                {
                    caughtAt = secondStrip.getX();
                    std::cout << "    the second strip is " << caughtAt << " pixels out, in slide " << slide << std::endl;

                    const auto picture = takePicture (window);
                    findings.expect (window.getWidth() == 650, "the window is " + juce::String (window.getWidth()) + " wide, not 650");
                    pictureChecks::expectNotBlank (picture, window, findings);
                    pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the first strip", findings);
                    pictureChecks::expectSecondStripOut (picture, window, caughtAt, findings);
                    save (picture, "06-window-button-mid-slide", findings);
                }

                if (! pumpUntil ([&] { return hasStopped (650, 325); }, patienceMs))
                {
                    findings.add ("the slide did not end with the second strip beside the first");
                    break;
                }

                if (caughtAt < 0)
                {
                    screen.click (button.x, button.y);

                    if (! pumpUntil ([&] { return hasStopped (325, 0); }, patienceMs))
                    {
                        findings.add ("the window did not slide back to one strip");
                        break;
                    }
                }
            }

            if (caughtAt < 0)
                findings.add ("no frame showed the second strip partly out, in " + juce::String (slides) + " slides");
        }

        parkPointer();
    }

    destroy (instance);
    return findings;
}

//==============================================================================
void ScreenshotSession::expectIdleWindowPaintsNothing (EditorWindow& window, const juce::String& what)
{
    Findings findings;
    findings.expect (listedUnits() == 0, "a unit is listed");

    pumpFor (settleMs);
    window.restartPaintCount();
    pumpFor (idleMs);

    const auto paints = window.getNumPaints();
    std::cout << "    idle " << what << ", no unit listed: " << paints << " paints in " << idleMs << " ms";

    if (paints > 0)
        std::cout << " (area " << window.getPaintedArea().toString() << ")";

    std::cout << std::endl;

    findings.expect (paints == 0, "the idle editor painted " + juce::String (paints) + " times in " + juce::String (idleMs)
                                      + " ms, within " + window.getPaintedArea().toString());

    // The count must see a paint that is asked for, or the measurement shows nothing.
    window.restartPaintCount();
    window.getEditor().repaint();
    findings.expect (pumpUntil ([&] { return window.getNumPaints() > 0; }, patienceMs),
                     "a repaint asked of the editor was not counted: the count sees no paint");

    report ("an idle editor paints nothing (" + what + ")", findings);
}

bool ScreenshotSession::waitUntilShown (EditorWindow& window, bool bothStrips, Findings& findings)
{
    if (! window.hasEditor())
    {
        findings.add ("the instance made no editor of the product's own");
        return false;
    }

    const auto width = bothStrips ? 650 : 325;
    Findings lastLook;

    const auto shown = keepLookingUntil ([&]
    {
        lastLook = {};
        lastLook.expect (window.getWidth() == width && window.getHeight() == 595,
                         "the window is " + juce::String (window.getWidth()) + " x " + juce::String (window.getHeight())
                             + ", not " + juce::String (width) + " x 595");

        const auto picture = takePicture (window);
        pictureChecks::expectNotBlank (picture, window, lastLook);
        pictureChecks::expectStripAt (picture, window, editorLayout::firstStrip, "the first strip", lastLook);

        if (bothStrips)
            pictureChecks::expectStripAt (picture, window, editorLayout::secondStrip, "the second strip", lastLook);

        return lastLook.isEmpty();
    }, patienceMs);

    if (! shown)
    {
        findings.add ("the screen did not show the editor within " + juce::String (patienceMs) + " ms:");

        for (const auto& problem : lastLook.list())
            findings.add ("  " + problem);

        Findings saving;
        save (takePicture (window), "failed-to-show-" + juce::String (written.size() + 1), saving);
    }

    return shown;
}

std::optional<juce::Rectangle<int>> ScreenshotSession::clickForPopup (EditorWindow& window, juce::Point<int> inEditor,
                                                                     const juce::String& popupName, Findings& findings)
{
    std::set<unsigned long> shownBefore;

    for (const auto& w : screen.shownTopLevelWindows())
        shownBefore.insert (w.id);

    // A window is shown before it is painted, and until then the screen keeps what lay there:
    // the popup counts as painted once most of its pixels differ from that.
    const juce::Rectangle<int> wholeScreen { screen.screenWidth(), screen.screenHeight() };
    const auto before = ScreenPicture::take (screen, wholeScreen);

    const auto at = window.onScreen (inEditor);
    screen.click (at.x, at.y);

    std::optional<juce::Rectangle<int>> popup;
    auto changed = 0.0f;

    const auto painted = keepLookingUntil ([&]
    {
        // The topmost window that is new.
        for (const auto& w : screen.shownTopLevelWindows())
            if (shownBefore.count (w.id) == 0)
                popup = juce::Rectangle<int> (w.x, w.y, w.width, w.height).getIntersection (wholeScreen);

        if (! popup.has_value() || popup->isEmpty())
            return false;

        const auto now = ScreenPicture::take (screen, *popup);
        changed = now.shareOfPixelsDifferentFrom (before, *popup);
        return changed >= minimumChangedShare && brightnessOf (now.commonestColourIn (*popup)) < darkest;
    }, patienceMs);

    if (! popup.has_value())
    {
        findings.add ("no " + popupName + " opened on the screen");
        return {};
    }

    std::cout << "    the " << popupName << " is at " << popup->toString() << " on the screen, "
              << juce::roundToInt (100.0f * changed) << "% of its pixels changed" << std::endl;

    if (! painted)
        findings.add ("the " + popupName + " was not painted, dark, within " + juce::String (patienceMs) + " ms");

    return popup;
}

void ScreenshotSession::closePopups()
{
    juce::PopupMenu::dismissAllActiveMenus();
    pumpUntil ([this] { return screen.countShownTopLevelWindows() <= 1; }, patienceMs);
}

bool ScreenshotSession::keepLookingUntil (const std::function<bool()>& look, int timeoutMs)
{
    auto nextLook = 0.0;

    return pumpUntil ([&]
    {
        const auto now = juce::Time::getMillisecondCounterHiRes();

        if (now < nextLook)
            return false;

        nextLook = now + 100.0;
        return look();
    }, timeoutMs);
}

void ScreenshotSession::parkPointer()
{
    // In the screen's corner, away from every window.
    screen.movePointer (screen.screenWidth() - 5, screen.screenHeight() - 5);
}

ScreenPicture ScreenshotSession::takePicture (const EditorWindow& window) const
{
    return ScreenPicture::take (screen, window.areaOnScreen());
}

void ScreenshotSession::save (const ScreenPicture& picture, const juce::String& name, Findings& findings)
{
    const auto file = folder.getChildFile (name + ".png");

    if (picture.saveAsPng (file))
        written.add (file.getFullPathName());
    else
        findings.add ("could not write " + file.getFullPathName());
}

void ScreenshotSession::report (const juce::String& what, const Findings& findings)
{
    std::cout << (findings.isEmpty() ? "PASS " : "FAIL ") << what << "\n";

    for (const auto& problem : findings.list())
        std::cout << "    " << problem << "\n";

    std::cout << std::flush;

    if (! findings.isEmpty())
        ++failures;
}

} // namespace screenshots
