// Loads the built plug-in bundles through JUCE's own VST3 and LV2 hosting, as a host does, and
// checks what a host sees: the name, the parameters, audio passing through, state round trips.
//
//   Eq713kHostCheck [--expect-parameters] [--expect-state] [--vst3 <bundle.vst3>]
//                   [--lv2 <bundle.lv2> --lv2-uri <uri>]
//   Eq713kHostCheck --editor [--screenshots <folder>] [--vst3 <bundle.vst3>]
//                   [--lv2 <bundle.lv2> --lv2-uri <uri>]
//
// Exits with 0 when every enforced check passes. Without --expect-parameters the parameter check
// still runs and prints its result, but does not fail the run; without --expect-state the check
// that a restored state brings back the parameter values is skipped.
//
// With --editor it checks the plug-in's editor in a host's window instead, which needs an X
// display: JUCE's hosting embeds the plug-in's own X window in the host's (through XEmbed for
// both formats), which cannot be made without one. What the editor shows is read from the
// screen; --screenshots keeps pictures of it.

#include "support/MessagePump.h"
#include "support/xserver/ScreenImage.h"
#include "support/xserver/XServerProbe.h"

#include <juce_audio_processors/juce_audio_processors.h>

// The SDK's interfaces, to read a VST3 plug-in's program lists; the module defines their ids.
#define JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY 1
#include <juce_audio_processors/format_types/juce_VST3Headers.h>
#undef JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY

#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

namespace
{

const juce::String expectedPluginName { "Halvorstine EQ713K" };

struct ExpectedParameter
{
    const char* name;
    float defaultValue;
    const char* defaultText;
};

// Indexed by parameter id, which is also the host's index in VST3.
const ExpectedParameter expectedParameters[] {
    { "CHANNEL", 0.0f, "LINK" },
    { "ENGAGE 1/STEREO", 1.0f, "ON" },
    { "LO BOOST 1/STEREO", 0.0f, "0.0" },
    { "LO ATTEN 1/STEREO", 0.0f, "0.0" },
    { "LO CPS 1/STEREO", 2.0f / 3.0f, "60" },
    { "HI BOOST 1/STEREO", 0.0f, "0.0" },
    { "HI ATTEN 1/STEREO", 0.0f, "0.0" },
    { "HI BANDWIDTH 1/STEREO", 1.0f / 3.0f, "2" },
    { "HI KCS BOOST 1/STEREO", 0.5f, "6" },
    { "HI KCS ATTEN 1/STEREO", 0.0f, "5" },
    { "ENGAGE 2", 1.0f, "ON" },
    { "LO BOOST 2", 0.0f, "0.0" },
    { "LO ATTEN 2", 0.0f, "0.0" },
    { "LO CPS 2", 2.0f / 3.0f, "60" },
    { "HI BOOST 2", 0.0f, "0.0" },
    { "HI ATTEN 2", 0.0f, "0.0" },
    { "HI BANDWIDTH 2", 1.0f / 3.0f, "2" },
    { "HI KCS BOOST 2", 0.5f, "6" },
    { "HI KCS ATTEN 2", 0.0f, "5" },
};
constexpr int numExpectedParameters = (int) std::size (expectedParameters);

constexpr double sampleRate = 48000.0;
constexpr int maxBlockSize = 512;
constexpr int waitTimeoutMs = 5000;

/** Collects the problems of one check; a check passes when it collected none. */
struct Problems
{
    void add (const juce::String& problem) { list.add (problem); }
    void expect (bool ok, const juce::String& problem) { if (! ok) add (problem); }

    juce::StringArray list;
};

/** The outcome of every check of a run, printed as it goes. */
class Report
{
public:
    void record (const juce::String& format, const juce::String& check, const Problems& problems, bool enforced = true)
    {
        const auto passed = problems.list.isEmpty();
        std::cout << (passed ? "PASS " : (enforced ? "FAIL " : "FAIL (not enforced) "))
                  << format << " " << check << "\n";

        for (const auto& p : problems.list)
            std::cout << "    " << p << "\n";

        std::cout << std::flush;

        if (! passed && enforced)
            ++failures;
    }

    int failures = 0;
};

/** Routes this process's JUCE assertions into the report (the plug-in's own copy of JUCE
    prints its assertions to the error output, where the test's output check sees them). */
class AssertionLogger : public juce::Logger
{
public:
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            assertions.add (message);

        std::cerr << message << std::endl;
    }

    juce::StringArray assertions;
};

/** What differs between the formats: how a bundle is found, and how a parameter is addressed. */
struct FormatUnderTest
{
    juce::String name;
    std::unique_ptr<juce::AudioPluginFormat> format;
    std::unique_ptr<juce::PluginDescription> description;
    juce::String whyNoDescription;
    std::function<juce::AudioProcessorParameter* (juce::AudioPluginInstance&, int id, Problems&)> findParameter;
    bool hostSeesValueTexts = true;
};

bool nearlyEqual (float a, float b) { return std::abs (a - b) <= 1.0e-6f; }

juce::String describe (float value) { return juce::String (value, 7); }

std::vector<juce::AudioProcessorParameter*> ownParameters (juce::AudioPluginInstance& instance)
{
    std::vector<juce::AudioProcessorParameter*> result;

    for (auto* p : instance.getParameters())
        if (p != instance.getBypassParameter())
            result.push_back (p);

    return result;
}

/** Runs a block of silence, so that parameter changes queued by the host reach the plug-in. */
void processSilence (juce::AudioPluginInstance& instance)
{
    juce::AudioBuffer<float> buffer (juce::jmax (2, instance.getTotalNumInputChannels(), instance.getTotalNumOutputChannels()), 64);
    buffer.clear();
    juce::MidiBuffer midi;
    instance.processBlock (buffer, midi);
}

juce::MemoryBlock stateOf (juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock block;
    instance.getStateInformation (block);
    return block;
}

/** Waits, running audio blocks and the message thread, until the condition holds. */
bool keepRunningUntil (juce::AudioPluginInstance& instance, const std::function<bool()>& condition,
                       int timeoutMs = waitTimeoutMs)
{
    return testing_support::pumpUntil ([&]
    {
        processSilence (instance);
        testing_support::pumpPendingMessages();
        return condition();
    }, timeoutMs);
}

juce::String firstDifference (const juce::MemoryBlock& expected, const juce::MemoryBlock& actual)
{
    const auto common = juce::jmin (expected.getSize(), actual.getSize());

    for (size_t i = 0; i < common; ++i)
        if (expected[i] != actual[i])
            return "first difference at byte " + juce::String ((juce::int64) i);

    return "sizes " + juce::String ((juce::int64) expected.getSize()) + " and " + juce::String ((juce::int64) actual.getSize());
}

Problems checkName (juce::AudioPluginInstance& instance)
{
    Problems problems;
    problems.expect (instance.getName() == expectedPluginName,
                     "name is \"" + instance.getName() + "\", expected \"" + expectedPluginName + "\"");
    return problems;
}

/** The host asks twice whether there is an editor. A VST3 host finds out by having the plug-in
    make its editor's view, which it lets go at once: the plug-in builds its whole editor and
    deletes it, here with no display. */
Problems checkHasEditor (juce::AudioPluginInstance& instance)
{
    Problems problems;

    for (int asked = 0; asked < 2; ++asked)
        problems.expect (instance.hasEditor(), "the host sees no editor");

    testing_support::pumpPendingMessages();
    return problems;
}

Problems checkParameters (FormatUnderTest& f, juce::AudioPluginInstance& instance)
{
    Problems problems;
    const auto own = ownParameters (instance);
    problems.expect ((int) own.size() == numExpectedParameters,
                     juce::String ((int) own.size()) + " parameters besides the bypass, expected "
                         + juce::String (numExpectedParameters));

    for (int id = 0; id < numExpectedParameters; ++id)
    {
        const auto& expected = expectedParameters[id];
        const auto where = "parameter " + juce::String (id) + " (" + expected.name + "): ";
        auto* p = f.findParameter (instance, id, problems);

        if (p == nullptr)
            continue;

        const auto name = p->getName (1024);
        problems.expect (name == expected.name, where + "name is \"" + name + "\"");
        problems.expect (nearlyEqual (p->getDefaultValue(), expected.defaultValue),
                         where + "default is " + describe (p->getDefaultValue()));
        problems.expect (nearlyEqual (p->getValue(), expected.defaultValue),
                         where + "value is " + describe (p->getValue()) + ", not the default");

        if (f.hostSeesValueTexts)
        {
            const auto text = p->getCurrentValueAsText();
            problems.expect (text == expected.defaultText,
                             where + "text is \"" + text + "\", expected \"" + expected.defaultText + "\"");
        }
    }

    return problems;
}

/** The program names a VST3 host reads from the plug-in's unit information. (JUCE's hosting
    lists programs only through a program-change parameter, which a plug-in with a single
    program does not have, so the list is read here directly.) */
juce::StringArray vst3ProgramNames (juce::AudioPluginInstance& instance, Problems& problems)
{
    struct ComponentFinder : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* component = nullptr;
    } finder;

    instance.getExtensions (finder);
    juce::StringArray names;

    Steinberg::Vst::IUnitInfo* unitInfo = nullptr;
    if (finder.component == nullptr
        || finder.component->queryInterface (Steinberg::Vst::IUnitInfo::iid, (void**) &unitInfo) != Steinberg::kResultOk
        || unitInfo == nullptr)
    {
        problems.add ("the plug-in offers no unit information, where a host reads its programs");
        return names;
    }

    for (Steinberg::int32 list = 0; list < unitInfo->getProgramListCount(); ++list)
    {
        Steinberg::Vst::ProgramListInfo info {};
        if (unitInfo->getProgramListInfo (list, info) != Steinberg::kResultOk)
            continue;

        for (Steinberg::int32 program = 0; program < info.programCount; ++program)
        {
            Steinberg::Vst::String128 name {};
            unitInfo->getProgramName (info.id, program, name);
            names.add (juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (name))));
        }
    }

    unitInfo->release();
    return names;
}

/** The host lists the plug-in's programs by name (VST3: its program lists; LV2: the presets of
    its manifest): there is at least one, and none is nameless. */
Problems checkProgramNames (FormatUnderTest& f, juce::AudioPluginInstance& instance)
{
    Problems problems;
    juce::StringArray names;

    if (f.name == "VST3")
        names = vst3ProgramNames (instance, problems);
    else
        for (int i = 0; i < instance.getNumPrograms(); ++i)
            names.add (instance.getProgramName (i));

    problems.expect (! names.isEmpty(), "the host lists no program");

    for (int i = 0; i < names.size(); ++i)
        problems.expect (names[i].trim().isNotEmpty(), "program " + juce::String (i) + " has no name");

    return problems;
}

Problems checkAudioPassesThrough (juce::AudioPluginInstance& instance)
{
    Problems problems;
    const auto numIns = instance.getTotalNumInputChannels();
    const auto numOuts = instance.getTotalNumOutputChannels();

    if (numIns != 2 || numOuts != 2)
    {
        problems.add ("channels in/out are " + juce::String (numIns) + "/" + juce::String (numOuts) + ", expected 2/2");
        return problems;
    }

    juce::Random random (713);
    juce::AudioBuffer<float> buffer (2, maxBlockSize), original (2, maxBlockSize);
    juce::MidiBuffer midi;

    for (const auto numSamples : { maxBlockSize, 1, 100, maxBlockSize - 1, maxBlockSize })
    {
        buffer.setSize (2, numSamples, false, false, true);
        original.setSize (2, numSamples, false, false, true);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numSamples; ++i)
                original.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);

        buffer.makeCopyOf (original, true);
        midi.clear();
        instance.processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
        {
            const auto same = std::memcmp (buffer.getReadPointer (ch), original.getReadPointer (ch),
                                           (size_t) numSamples * sizeof (float)) == 0;
            problems.expect (same, "channel " + juce::String (ch) + " of a " + juce::String (numSamples)
                                       + "-sample block is not the input");
        }
    }

    return problems;
}

struct StateResults
{
    Problems roundTrip, keepsParameters, quietRestore;
};

/** Waits, running the instance, until its state has not changed for a while and differs from
    the given one: host changes reach the plug-in's store asynchronously. */
bool waitUntilStateSettles (juce::AudioPluginInstance& instance, const juce::MemoryBlock& before)
{
    juce::MemoryBlock last;
    auto lastChange = juce::Time::getMillisecondCounterHiRes();

    return keepRunningUntil (instance, [&]
    {
        const auto now = juce::Time::getMillisecondCounterHiRes();

        if (auto state = stateOf (instance); state != last)
        {
            last = std::move (state);
            lastChange = now;
        }

        return last != before && now - lastChange >= 200.0;
    });
}

/** What reaches the host's side of one parameter, and when: during the restore call, while
    the wrapper reports the restored state (LV2: in the first block after it), or later. */
class RestoreWatcher : public juce::AudioProcessorParameter::Listener
{
public:
    enum Phase { before, restoring, reporting, after };

    struct Event
    {
        Phase phase;
        size_t position;
        bool gesture;
        float value;
    };

    RestoreWatcher (std::vector<juce::AudioProcessorParameter*> parametersToWatch)
        : parameters (std::move (parametersToWatch))
    {
        for (auto* p : parameters)
            p->addListener (this);
    }

    ~RestoreWatcher() override
    {
        for (auto* p : parameters)
            p->removeListener (this);
    }

    // From the host's thread and from the plug-in's message thread.
    void parameterValueChanged (int index, float value) override { record (index, false, value); }
    void parameterGestureChanged (int index, bool) override { record (index, true, 0.0f); }

    std::vector<Event> events() const
    {
        const std::lock_guard<std::mutex> hold (lock);
        return recorded;
    }

    std::atomic<Phase> phase { before };

private:
    void record (int index, bool gesture, float value)
    {
        size_t position = 0;
        while (position < parameters.size() && parameters[position]->getParameterIndex() != index)
            ++position;

        const std::lock_guard<std::mutex> hold (lock);
        recorded.push_back ({ phase.load(), position, gesture, value });
    }

    const std::vector<juce::AudioProcessorParameter*> parameters;
    mutable std::mutex lock;
    std::vector<Event> recorded;
};

/** Changes every parameter of one instance and hands its state to a fresh instance once, as a
    host reloading a session does. The fresh instance must read back the very state it was
    given at once, show the values that were set (VST3 at once; LV2 once the plug-in has run
    one block, where its wrapper reports values), and tell the host nothing else: no gesture,
    no edit, during the restore or after it. */
StateResults checkState (FormatUnderTest& f, juce::AudioPluginInstance& source, bool expectStateKeepsParameters)
{
    StateResults results;
    const auto own = ownParameters (source);
    const auto initialState = stateOf (source);
    std::vector<float> valuesSet;

    for (size_t i = 0; i < own.size(); ++i)
    {
        valuesSet.push_back (i % 2 == 0 ? 0.75f : 0.25f); // no parameter's default
        own[i]->setValue (valuesSet.back());
    }

    if (! waitUntilStateSettles (source, initialState))
    {
        results.roundTrip.add ("the state of the instance whose parameters were set does not settle");
        return results;
    }

    juce::String error;
    auto target = f.format->createInstanceFromDescription (*f.description, sampleRate, maxBlockSize, error);

    if (target == nullptr)
    {
        results.roundTrip.add ("cannot create a second instance: " + error);
        return results;
    }

    target->prepareToPlay (sampleRate, maxBlockSize);
    processSilence (*target);
    testing_support::pumpPendingMessages();

    const auto handedOver = stateOf (source);
    const auto shown = ownParameters (*target);
    const auto targetShowsValuesSet = [&]
    {
        for (size_t i = 0; i < shown.size() && i < valuesSet.size(); ++i)
            if (! nearlyEqual (shown[i]->getValue(), valuesSet[i]))
                return false;

        return shown.size() == valuesSet.size();
    };

    RestoreWatcher watcher (shown);
    watcher.phase = RestoreWatcher::restoring;
    target->setStateInformation (handedOver.getData(), (int) handedOver.getSize());

    if (const auto readBack = stateOf (*target); readBack != handedOver)
        results.roundTrip.add ("the state read back is not the state set: " + firstDifference (handedOver, readBack));

    if (f.name == "LV2")
    {
        watcher.phase = RestoreWatcher::reporting;
        processSilence (*target);
    }

    if (expectStateKeepsParameters && ! targetShowsValuesSet())
        results.keepsParameters.add ("an instance given the state does not show the parameter values that were set");

    // Long enough for anything the plug-in's message thread would tell the host later: its
    // listeners, the stereo linkers' mirrors, a gesture's end.
    watcher.phase = RestoreWatcher::after;
    const auto until = juce::Time::getMillisecondCounterHiRes() + 700.0;
    keepRunningUntil (*target, [&] { return juce::Time::getMillisecondCounterHiRes() >= until; });

    for (const auto& e : watcher.events())
    {
        const auto where = "parameter at " + juce::String ((int) e.position) + ": ";

        if (e.gesture)
            results.quietRestore.add (where + "a gesture reached the host");
        else if (e.phase == RestoreWatcher::after)
            results.quietRestore.add (where + "a value reached the host after the restore");
        else if (e.position >= valuesSet.size() || ! nearlyEqual (e.value, valuesSet[e.position]))
            results.quietRestore.add (where + "the host was told " + describe (e.value) + ", not the restored value");
    }

    if (const auto readLater = stateOf (*target); readLater != handedOver)
        results.roundTrip.add ("the state read back later is not the state set: " + firstDifference (handedOver, readLater));

    target->releaseResources();
    return results;
}

struct Expectations
{
    bool parameters = false;
    bool stateKeepsParameters = false;
};

void runFormat (FormatUnderTest& f, Expectations expect, Report& report)
{
    Problems loading;
    juce::String error;
    std::unique_ptr<juce::AudioPluginInstance> instance;

    if (f.description == nullptr)
        loading.add (f.whyNoDescription);
    else if ((instance = f.format->createInstanceFromDescription (*f.description, sampleRate, maxBlockSize, error)) == nullptr)
        loading.add ("cannot create the plug-in: " + error);

    report.record (f.name, "loads", loading);

    if (instance == nullptr)
        return;

    report.record (f.name, "name", checkName (*instance));
    report.record (f.name, "has an editor", checkHasEditor (*instance));
    report.record (f.name, "parameters", checkParameters (f, *instance), expect.parameters);
    report.record (f.name, "programs are named", checkProgramNames (f, *instance));

    instance->prepareToPlay (sampleRate, maxBlockSize);
    report.record (f.name, "audio passes through", checkAudioPassesThrough (*instance));
    const auto state = checkState (f, *instance, expect.stateKeepsParameters);
    report.record (f.name, "state round trip", state.roundTrip);
    report.record (f.name, "restore tells the host no gesture or edit", state.quietRestore);

    if (expect.stateKeepsParameters)
        report.record (f.name, "state keeps parameters", state.keepsParameters);
    else
        std::cout << "SKIP " << f.name << " state keeps parameters (checked with --expect-state)\n";

    // Alive past the plug-in's first connection poll, which finds no unit here.
    testing_support::pumpFor (1300);

    instance->releaseResources();
}

//==============================================================================
// The editor in a host's window, on an X display. A plug-in's editor draws into an X window of
// its own, embedded in the host's: what it shows is read from the screen, and its buttons are
// pressed with the server's pointer.

constexpr int singleWidth = 325, doubleWidth = 650, editorHeight = 595;
constexpr int editorTimeoutMs = 15000;

const juce::Colour menuBarColour { 0xff252629 };

// Points of the editor: the menu bar's middle, a point of each strip's faceplate near its foot,
// the menu and USB buttons, the first strip's window button.
const juce::Point<int> menuBarPoint { 160, 12 }, firstStripPoint { 162, 585 }, secondStripPoint { 487, 585 },
    menuButtonPoint { 12, 12 }, usbButtonPoint { 307, 12 }, windowButtonPoint { 307, 43 };

/** A host's window around a plug-in's editor. Windows open one after the other take turns
    between two places side by side, so that two open at once do not cover each other. */
class HostWindow : public juce::DocumentWindow
{
public:
    explicit HostWindow (juce::AudioProcessorEditor& editor)
        : DocumentWindow ("Eq713kHostCheck", juce::Colours::darkgrey, 0, true)
    {
        static int windowsMade = 0;

        setUsingNativeTitleBar (false);
        setContentNonOwned (&editor, true);
        setTopLeftPosition (20 + 600 * (windowsMade++ % 2), 20);
        setVisible (true);
    }

    ~HostWindow() override { clearContentComponent(); }

    void closeButtonPressed() override {}
};

/** A plug-in's editor opened by the host and shown in a window of the host's, closed as the host
    closes it: the host's editor, which holds the plug-in's view, goes with its window. */
class OpenEditor
{
public:
    explicit OpenEditor (juce::AudioPluginInstance& instanceToShow)
        : instance (instanceToShow), editor (instance.createEditorIfNeeded())
    {
        if (editor != nullptr)
            window = std::make_unique<HostWindow> (*editor);
    }

    ~OpenEditor() { close(); }

    void close()
    {
        window.reset();
        editor.reset();
    }

    bool isOpen() const noexcept { return editor != nullptr; }

    juce::Point<int> sizeNow() const { return editor != nullptr ? juce::Point<int> { editor->getWidth(), editor->getHeight() } : juce::Point<int>(); }

    /** Runs the host until the editor has the size. */
    bool waitForSize (int width, int height) const
    {
        return editor != nullptr
            && keepRunningUntil (instance, [&] { return sizeNow() == juce::Point<int> { width, height }; }, editorTimeoutMs);
    }

    juce::Point<int> onScreen (juce::Point<int> inEditor) const { return editor->localPointToGlobal (inEditor); }

    /** What the screen shows of the editor now. */
    juce::Image capture (const XServerProbe& screen) const
    {
        if (editor == nullptr)
            return {};

        return testing_support::imageOfScreen (screen, editor->getScreenBounds());
    }

    /** The colour the screen shows at a point of the editor, transparent when it cannot be read. */
    juce::Colour shownAt (const XServerProbe& screen, juce::Point<int> inEditor) const
    {
        if (editor == nullptr)
            return {};

        const auto at = onScreen (inEditor);
        const auto pixel = screen.grab (at.x, at.y, 1, 1);
        return pixel.size() == 1 ? juce::Colour (pixel.front()) : juce::Colour();
    }

    /** Runs the host until the screen shows what the condition wants of the editor (asked
        through shownAt), looking every 50 ms.

        While it waits, the pointer moves between the host window's title bar and the editor's
        menu bar now and then, as a user's hand does. JUCE 7.0.5 on X11 handles window events
        only when its connection has something new to read: events that arrived during one of
        its own round trips stay in Xlib's queue until the next input comes, and on an X
        server with no user and no window manager nothing else comes. Seen with LV2, whose
        hosting embeds twice: the plug-in's editor not drawn, or the host's embedding window
        not following the editor's new width, until the pointer moves over them. Both points
        are away from every control. */
    bool waitForPicture (const XServerProbe& screen, const std::function<bool (const OpenEditor&, const XServerProbe&)>& wanted) const
    {
        auto nextLook = 0.0;
        auto looks = 0;

        return editor != nullptr && keepRunningUntil (instance, [&]
        {
            const auto now = juce::Time::getMillisecondCounterHiRes();

            if (now < nextLook)
                return false;

            nextLook = now + 50.0;

            if (++looks % 10 == 0)
            {
                const auto overTitleBar = (looks / 10) % 2 == 0;
                const auto at = onScreen ({ menuBarPoint.x, overTitleBar ? -12 : menuBarPoint.y });
                screen.movePointer (at.x, at.y);
            }

            return wanted (*this, screen);
        }, editorTimeoutMs);
    }

    void click (const XServerProbe& screen, juce::Point<int> inEditor) const
    {
        const auto at = onScreen (inEditor);
        screen.click (at.x, at.y);
    }

private:
    juce::AudioPluginInstance& instance;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::unique_ptr<HostWindow> window;
};

bool near (juce::Colour a, juce::Colour b)
{
    return a.isOpaque() && std::abs (a.getRed() - b.getRed()) <= 2 && std::abs (a.getGreen() - b.getGreen()) <= 2
        && std::abs (a.getBlue() - b.getBlue()) <= 2;
}

/** Drawn by the strip: not the editor's black background (nor an unreadable point). */
bool isStrip (juce::Colour c)
{
    return c.isOpaque() && c != juce::Colours::black;
}

/** The menu bar and the first strip are drawn. */
bool showsSingleWindow (const OpenEditor& editor, const XServerProbe& screen)
{
    return near (editor.shownAt (screen, menuBarPoint), menuBarColour) && isStrip (editor.shownAt (screen, firstStripPoint));
}

/** And the second strip beside the first. */
bool showsBothStrips (const OpenEditor& editor, const XServerProbe& screen)
{
    return showsSingleWindow (editor, screen) && isStrip (editor.shownAt (screen, secondStripPoint));
}

juce::String describeSize (juce::Point<int> size)
{
    return juce::String (size.x) + " x " + juce::String (size.y);
}

class EditorChecks
{
public:
    EditorChecks (FormatUnderTest& formatToCheck, Report& reportToUse, const juce::File& screenshotFolder)
        : f (formatToCheck), report (reportToUse), screenshots (screenshotFolder)
    {
    }

    void run()
    {
        Problems display;
        display.expect (screen.isOpen(), "no X display with the XTest extension (run through tests/support/with-xvfb.sh)");
        report.record (f.name, "X display", display);

        if (! screen.isOpen() || f.description == nullptr)
            return;

        report.record (f.name, "editor opens at 325 x 595, shows the panel and closes, twice", openAndCloseTwice());
        report.record (f.name, "window button widens to 650 x 595; restored states size the window", doubleWindowByButtonAndState());
        report.record (f.name, "two instances with editors open are destroyed in either order", twoInstancesInEitherOrder());
        report.record (f.name, "editor closed while its menu is open", closedWithMenuOpen());
        report.record (f.name, "editor closed while the device selector is asked for", closedWithDeviceSelector());
        report.record (f.name, "editor closed in the pause and during the slide", closedDuringWindowSequence());
    }

private:
    std::unique_ptr<juce::AudioPluginInstance> newInstance (Problems& problems) const
    {
        juce::String error;
        auto instance = f.format->createInstanceFromDescription (*f.description, sampleRate, maxBlockSize, error);

        if (instance == nullptr)
            problems.add ("cannot create the plug-in: " + error);
        else
            instance->prepareToPlay (sampleRate, maxBlockSize);

        return instance;
    }

    static void destroy (std::unique_ptr<juce::AudioPluginInstance>& instance)
    {
        if (instance == nullptr)
            return;

        instance->releaseResources();
        instance.reset();
        testing_support::pumpPendingMessages();
    }

    /** Opens the editor and waits until it has the size and the screen shows what it should. */
    bool openAndExpect (OpenEditor& editor, int width, Problems& problems, const juce::String& when) const
    {
        if (! editor.isOpen())
        {
            problems.add (when + ": the host got no editor");
            return false;
        }

        if (! editor.waitForSize (width, editorHeight))
        {
            problems.add (when + ": the editor is " + describeSize (editor.sizeNow()) + ", expected "
                          + describeSize ({ width, editorHeight }));
            return false;
        }

        const auto shows = width == doubleWidth ? showsBothStrips : showsSingleWindow;

        if (! editor.waitForPicture (screen, shows))
        {
            problems.add (when + ": the screen does not show the " + (width == doubleWidth ? "two strips" : "menu bar and the strip"));
            saveScreenshot (editor, "failed-" + when.replace (" ", "-"));
            return false;
        }

        return true;
    }

    void saveScreenshot (const OpenEditor& editor, const juce::String& name) const
    {
        if (screenshots == juce::File())
            return;

        screenshots.createDirectory();
        const auto file = screenshots.getChildFile (f.name + "-" + name + ".png");
        file.deleteFile();

        if (auto image = editor.capture (screen); image.isValid())
        {
            juce::FileOutputStream out (file);
            juce::PNGImageFormat().writeImageToStream (image, out);
        }
    }

    Problems openAndCloseTwice()
    {
        Problems problems;
        auto instance = newInstance (problems);

        for (int round = 1; instance != nullptr && round <= 2; ++round)
        {
            OpenEditor editor (*instance);

            if (! openAndExpect (editor, singleWidth, problems, "opening " + juce::String (round)))
                break;

            if (round == 1)
                saveScreenshot (editor, "single");

            editor.close();
            testing_support::pumpPendingMessages();
        }

        destroy (instance);
        return problems;
    }

    Problems doubleWindowByButtonAndState()
    {
        Problems problems;
        auto instance = newInstance (problems);

        if (instance == nullptr)
            return problems;

        const auto singleState = stateOf (*instance);
        juce::MemoryBlock doubleState;

        {
            OpenEditor editor (*instance);

            if (! openAndExpect (editor, singleWidth, problems, "before the window button"))
            {
                editor.close();
                destroy (instance);
                return problems;
            }

            editor.click (screen, windowButtonPoint);

            // Wider at once; the second strip slides out after the pause.
            if (! editor.waitForSize (doubleWidth, editorHeight))
                problems.add ("after the window button the editor is " + describeSize (editor.sizeNow()) + ", expected 650 x 595");
            else if (! editor.waitForPicture (screen, showsBothStrips))
            {
                problems.add ("after the window button the second strip does not come out");
                saveScreenshot (editor, "failed-after-the-window-button");
            }
            else
                saveScreenshot (editor, "double");

            doubleState = stateOf (*instance);

            instance->setStateInformation (singleState.getData(), (int) singleState.getSize());
            if (! editor.waitForSize (singleWidth, editorHeight))
                problems.add ("a restored single-window state leaves the open editor at " + describeSize (editor.sizeNow()));

            instance->setStateInformation (doubleState.getData(), (int) doubleState.getSize());
            if (! editor.waitForSize (doubleWidth, editorHeight))
                problems.add ("a restored double-window state leaves the open editor at " + describeSize (editor.sizeNow()));
        }

        // Opened again, and in another instance given the state: double at once.
        {
            OpenEditor editor (*instance);
            openAndExpect (editor, doubleWidth, problems, "opened again in the double window");
        }

        auto restored = newInstance (problems);

        if (restored != nullptr)
        {
            restored->setStateInformation (doubleState.getData(), (int) doubleState.getSize());
            OpenEditor editor (*restored);
            openAndExpect (editor, doubleWidth, problems, "opened in an instance given the double-window state");
        }

        destroy (restored);
        destroy (instance);
        return problems;
    }

    Problems twoInstancesInEitherOrder()
    {
        Problems problems;

        for (const auto firstGoesFirst : { true, false })
        {
            std::unique_ptr<juce::AudioPluginInstance> instances[] { newInstance (problems), newInstance (problems) };

            if (instances[0] == nullptr || instances[1] == nullptr)
                return problems;

            std::unique_ptr<OpenEditor> open[] { std::make_unique<OpenEditor> (*instances[0]),
                                                 std::make_unique<OpenEditor> (*instances[1]) };

            for (int i = 0; i < 2; ++i)
                openAndExpect (*open[i], singleWidth, problems, "instance " + juce::String (i + 1));

            const auto first = firstGoesFirst ? 0 : 1, second = 1 - first;

            open[first].reset();
            destroy (instances[first]);

            // The other editor goes on showing the panel.
            if (! open[second]->waitForPicture (screen, showsSingleWindow))
                problems.add ("the editor of instance " + juce::String (second + 1) + " stopped showing after the other instance went");

            open[second].reset();
            destroy (instances[second]);
        }

        return problems;
    }

    Problems closedWithMenuOpen()
    {
        Problems problems;
        auto instance = newInstance (problems);

        if (instance == nullptr)
            return problems;

        auto editor = std::make_unique<OpenEditor> (*instance);

        if (openAndExpect (*editor, singleWidth, problems, "before the menu"))
        {
            const auto windowsBefore = screen.countShownTopLevelWindows();
            editor->click (screen, menuButtonPoint);

            if (! keepRunningUntil (*instance, [&] { return screen.countShownTopLevelWindows() > windowsBefore; }, editorTimeoutMs))
                problems.add ("the menu did not open");

            editor.reset();

            if (! keepRunningUntil (*instance, [&] { return screen.countShownTopLevelWindows() < windowsBefore; }, editorTimeoutMs))
                problems.add ("the menu stayed on the screen after its editor closed");
        }

        destroy (instance);
        return problems;
    }

    Problems closedWithDeviceSelector()
    {
        Problems problems;
        auto instance = newInstance (problems);

        if (instance == nullptr)
            return problems;

        {
            OpenEditor editor (*instance);

            // No unit is found here, so the selector has no row to show; the editor still makes it.
            if (openAndExpect (editor, singleWidth, problems, "before the device selector"))
            {
                editor.click (screen, usbButtonPoint);
                testing_support::pumpFor (300);
            }
        }

        testing_support::pumpFor (300);
        destroy (instance);
        return problems;
    }

    Problems closedDuringWindowSequence()
    {
        Problems problems;
        auto instance = newInstance (problems);

        if (instance == nullptr)
            return problems;

        const auto singleState = stateOf (*instance);

        // Right after the widening (in the pause), and some way into the slide.
        for (const auto waitMs : { 0, 650 })
        {
            instance->setStateInformation (singleState.getData(), (int) singleState.getSize());
            OpenEditor editor (*instance);

            if (! openAndExpect (editor, singleWidth, problems, "before the window button"))
                break;

            editor.click (screen, windowButtonPoint);

            if (! editor.waitForSize (doubleWidth, editorHeight))
                problems.add ("after the window button the editor is " + describeSize (editor.sizeNow()));

            testing_support::pumpFor (waitMs);
            editor.close();
            testing_support::pumpFor (pauseAndSlideMs);
        }

        destroy (instance);
        return problems;
    }

    static constexpr int pauseAndSlideMs = 350 + 650;

    FormatUnderTest& f;
    Report& report;
    juce::File screenshots;
    XServerProbe screen;
};

FormatUnderTest vst3Format (const juce::File& bundle)
{
    FormatUnderTest f;
    f.name = "VST3";
    f.format = std::make_unique<juce::VST3PluginFormat>();

    juce::OwnedArray<juce::PluginDescription> found;
    f.format->findAllTypesForFile (found, bundle.getFullPathName());

    if (found.size() == 1)
        f.description = std::make_unique<juce::PluginDescription> (*found.getFirst());
    else
        f.whyNoDescription = juce::String (found.size()) + " plug-ins found in " + bundle.getFullPathName() + ", expected 1";

    // The host's index is the parameter id, and so is the VST3 parameter id.
    f.findParameter = [] (juce::AudioPluginInstance& instance, int id, Problems& problems) -> juce::AudioProcessorParameter*
    {
        auto* p = instance.getHostedParameter (id);

        if (p == nullptr || p == instance.getBypassParameter())
        {
            problems.add ("parameter " + juce::String (id) + ": no such host index");
            return nullptr;
        }

        problems.expect (p->getParameterID() == juce::String (id),
                         "parameter " + juce::String (id) + ": VST3 id is " + p->getParameterID());
        return p;
    };
    return f;
}

FormatUnderTest lv2Format (const juce::File& bundle, const juce::String& uri)
{
    FormatUnderTest f;
    f.name = "LV2";
    f.format = std::make_unique<juce::LV2PluginFormat>();

    // JUCE's LV2 hosting knows plug-ins by URI: load the bundle's folder first.
    const auto uris = f.format->searchPathsForPlugins (juce::FileSearchPath (bundle.getParentDirectory().getFullPathName()), false);
    juce::OwnedArray<juce::PluginDescription> found;

    if (uris.contains (uri))
        f.format->findAllTypesForFile (found, uri);

    if (found.size() != 1)
        f.whyNoDescription = "no plug-in " + uri + " found next to " + bundle.getFullPathName();
    // A copy installed elsewhere under the same URI would hide the built bundle.
    else if (found.getFirst()->lastFileModTime != bundle.getLastModificationTime())
        f.whyNoDescription = "the plug-in " + uri + " found is not the one in " + bundle.getFullPathName();
    else
        f.description = std::make_unique<juce::PluginDescription> (*found.getFirst());

    // The host sorts parameters by their URI, so they are found by name rather than by index.
    f.findParameter = [] (juce::AudioPluginInstance& instance, int id, Problems& problems) -> juce::AudioProcessorParameter*
    {
        const juce::String wanted { expectedParameters[id].name };
        std::vector<juce::AudioProcessorParameter*> named;

        for (auto* p : ownParameters (instance))
            if (p->getName (1024) == wanted)
                named.push_back (p);

        problems.expect (named.size() == 1, "parameter " + juce::String (id) + ": "
                                                + juce::String ((int) named.size()) + " parameters named " + wanted);
        return named.size() == 1 ? named.front() : nullptr;
    };

    // The host prints the plain number for a parameter without scale points.
    f.hostSeesValueTexts = false;
    return f;
}

int run (const juce::StringArray& args)
{
    Expectations expect;
    expect.parameters = args.contains ("--expect-parameters");
    expect.stateKeepsParameters = args.contains ("--expect-state");
    const auto valueOf = [&] (const char* option)
    {
        const auto i = args.indexOf (option);
        return i >= 0 ? args[i + 1] : juce::String();
    };

    const auto vst3 = valueOf ("--vst3"), lv2 = valueOf ("--lv2"), lv2Uri = valueOf ("--lv2-uri");
    const auto checkEditor = args.contains ("--editor");
    const auto screenshots = valueOf ("--screenshots");

    if ((vst3.isEmpty() && lv2.isEmpty()) || (lv2.isNotEmpty() && lv2Uri.isEmpty()))
    {
        std::cerr << "usage: Eq713kHostCheck [--expect-parameters] [--expect-state] [--vst3 <bundle>] [--lv2 <bundle> --lv2-uri <uri>]\n"
                     "       Eq713kHostCheck --editor [--screenshots <folder>] [--vst3 <bundle>] [--lv2 <bundle> --lv2-uri <uri>]\n";
        return 2;
    }

    Report report;
    AssertionLogger logger;
    juce::Logger::setCurrentLogger (&logger);

    std::vector<std::function<FormatUnderTest()>> formats;

    if (vst3.isNotEmpty())
        formats.push_back ([&] { return vst3Format (juce::File::getCurrentWorkingDirectory().getChildFile (vst3)); });

    if (lv2.isNotEmpty())
        formats.push_back ([&] { return lv2Format (juce::File::getCurrentWorkingDirectory().getChildFile (lv2), lv2Uri); });

    for (auto& makeFormat : formats)
    {
        auto f = makeFormat();

        if (! checkEditor)
        {
            runFormat (f, expect, report);
            continue;
        }

        Problems loading;
        if (f.description == nullptr)
            loading.add (f.whyNoDescription);
        report.record (f.name, "loads", loading);

        const auto screenshotFolder = screenshots.isNotEmpty() ? juce::File::getCurrentWorkingDirectory().getChildFile (screenshots)
                                                               : juce::File();
        EditorChecks (f, report, screenshotFolder).run();
    }

    testing_support::pumpPendingMessages();
    juce::Logger::setCurrentLogger (nullptr);

    Problems assertions;
    for (const auto& a : logger.assertions)
        assertions.add (a);
    report.record ("host", "no JUCE assertion", assertions);

    return report.failures == 0 ? 0 : 1;
}

} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    // This thread is the message thread; nothing here needs a display.
    juce::ScopedJuceInitialiser_GUI juce;
    return run (args);
}
