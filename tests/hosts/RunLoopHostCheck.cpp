// A small VST3 host shaped as Ardour's is on Linux, to check the plug-in's editors there:
//
//   Eq713kRunLoopHostCheck <bundle.vst3>
//
// What matters is how the host serves the plug-in's descriptors. Like Ardour 7, it has one run
// loop for every plug-in, keyed by descriptor (a descriptor registered twice is refused, and
// unregistering a handler drops every descriptor it registered), and each plug-in's component
// handler is also its views' frame and hands out that run loop. Everything runs on the main
// thread, which is the host's GUI thread: between its calls into the plug-ins it polls the
// registered descriptors and calls their handlers, as a GTK main loop does.
//
// The check: two instances with their editors shown, one of them deleted (each in turn), and
// the other editor still paints and takes a click (its window button widens it, and its second
// strip slides out). Needs an X display with the XTest extension (tests/support/with-xvfb.sh).
//
// Exits with 0 when every check passes.

#include "support/xserver/XServerProbe.h"

#define INIT_CLASS_IID 1
#include <pluginterfaces/base/funknown.h>
#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/gui/iplugview.h>
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivsthostapplication.h>
#include <pluginterfaces/vst/ivstmessage.h>
#include <pluginterfaces/base/funknown.cpp>

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace Steinberg;

namespace
{

constexpr int singleWidth = 325, doubleWidth = 650, editorHeight = 595;
constexpr int waitTimeoutMs = 20000;

// Points of the editor: the menu bar's middle, a point of each strip's faceplate near its foot,
// the first strip's window button.
struct Point { int x, y; };
constexpr Point menuBarPoint { 160, 12 }, firstStripPoint { 162, 585 }, secondStripPoint { 487, 585 },
    windowButtonPoint { 307, 43 };
constexpr std::uint32_t menuBarColour = 0xff252629;

bool sameIid (const TUID a, const FUID& b) { return FUnknownPrivate::iidEqual (a, b.toTUID()); }

/** The run loop of every plug-in, as Ardour's: descriptor -> handler. */
class SharedRunLoop final : public Linux::IRunLoop
{
public:
    tresult PLUGIN_API registerEventHandler (Linux::IEventHandler* handler, Linux::FileDescriptor fd) override
    {
        if (handler == nullptr || handlers.count (fd) != 0)
            return kInvalidArgument;

        handlers[fd] = handler;
        return kResultTrue;
    }

    tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler* handler) override
    {
        auto found = kResultFalse;

        for (auto it = handlers.begin(); it != handlers.end();)
        {
            if (it->second == handler)
            {
                it = handlers.erase (it);
                found = kResultTrue;
            }
            else
                ++it;
        }

        return found;
    }

    tresult PLUGIN_API registerTimer (Linux::ITimerHandler* handler, Linux::TimerInterval ms) override
    {
        if (handler == nullptr || ms == 0)
            return kInvalidArgument;

        timers.push_back ({ handler, std::chrono::milliseconds (ms), std::chrono::steady_clock::now() });
        return kResultTrue;
    }

    tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* handler) override
    {
        const auto before = timers.size();
        timers.erase (std::remove_if (timers.begin(), timers.end(), [&] (auto& t) { return t.handler == handler; }), timers.end());
        return timers.size() != before ? kResultTrue : kResultFalse;
    }

    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
    tresult PLUGIN_API queryInterface (const TUID, void** obj) override { *obj = nullptr; return kNoInterface; }

    /** One turn of the host's main loop: waits a little for a descriptor, then calls the
        handlers of those that are ready and the timers that are due. */
    void serve (int extraFd)
    {
        std::vector<pollfd> fds;

        for (const auto& [fd, handler] : handlers)
            fds.push_back ({ fd, POLLIN, 0 });

        fds.push_back ({ extraFd, POLLIN, 0 });
        ::poll (fds.data(), (nfds_t) fds.size(), 5);

        for (const auto& p : fds)
        {
            if ((p.revents & (POLLIN | POLLERR | POLLHUP)) == 0)
                continue;

            // A handler may have gone in an earlier call of this turn.
            if (const auto it = handlers.find (p.fd); it != handlers.end())
                it->second->onFDIsSet (p.fd);
        }

        const auto now = std::chrono::steady_clock::now();

        for (size_t i = 0; i < timers.size(); ++i)
        {
            if (now - timers[i].last >= timers[i].interval)
            {
                timers[i].last = now;
                timers[i].handler->onTimer();
            }
        }
    }

    size_t numDescriptors() const noexcept { return handlers.size(); }

private:
    struct Timer
    {
        Linux::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point last;
    };

    std::map<int, Linux::IEventHandler*> handlers;
    std::vector<Timer> timers;
};

class HostApplication final : public Vst::IHostApplication
{
public:
    tresult PLUGIN_API getName (Vst::String128 name) override
    {
        const char16_t text[] = u"Eq713kRunLoopHostCheck";
        std::memcpy (name, text, sizeof (text));
        return kResultOk;
    }

    tresult PLUGIN_API createInstance (TUID, TUID, void** obj) override { *obj = nullptr; return kNotImplemented; }

    tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
    {
        if (sameIid (iid, FUnknown::iid) || sameIid (iid, Vst::IHostApplication::iid))
        {
            *obj = static_cast<Vst::IHostApplication*> (this);
            return kResultOk;
        }

        *obj = nullptr;
        return kNoInterface;
    }

    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

/** The host's side of one plug-in instance: its component handler, which is also the frame of
    its view, and the X window the view is embedded in. */
class PluginSite final : public Vst::IComponentHandler, public IPlugFrame
{
public:
    PluginSite (SharedRunLoop& loop, Display* d, int x, int y) : runLoop (loop), display (d)
    {
        window = XCreateSimpleWindow (display, DefaultRootWindow (display), x, y, singleWidth, editorHeight, 0, 0, 0);
        XMapWindow (display, window);
        XFlush (display);
    }

    ~PluginSite()
    {
        XDestroyWindow (display, window);
        XFlush (display);
    }

    tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
    {
        if (sameIid (iid, FUnknown::iid) || sameIid (iid, Vst::IComponentHandler::iid))
            *obj = static_cast<Vst::IComponentHandler*> (this);
        else if (sameIid (iid, IPlugFrame::iid))
            *obj = static_cast<IPlugFrame*> (this);
        else if (sameIid (iid, Linux::IRunLoop::iid))
            *obj = static_cast<Linux::IRunLoop*> (&runLoop);
        else
        {
            *obj = nullptr;
            return kNoInterface;
        }

        return kResultOk;
    }

    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    tresult PLUGIN_API beginEdit (Vst::ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit (Vst::ParamID, Vst::ParamValue) override { return kResultOk; }
    tresult PLUGIN_API endEdit (Vst::ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent (int32) override { return kResultOk; }

    tresult PLUGIN_API resizeView (IPlugView* view, ViewRect* newSize) override
    {
        if (view == nullptr || newSize == nullptr)
            return kInvalidArgument;

        width = newSize->getWidth();
        XResizeWindow (display, window, (unsigned) width, (unsigned) newSize->getHeight());
        XFlush (display);
        view->onSize (newSize);
        return kResultTrue;
    }

    Window getWindow() const noexcept { return window; }
    int getWidth() const noexcept { return width; }

private:
    SharedRunLoop& runLoop;
    Display* display;
    Window window = 0;
    int width = singleWidth;
};

using GetFactory = IPluginFactory* (*)();
using ModuleEntryFn = bool (*) (void*);
using ModuleExitFn = bool (*)();

/** The plug-in's shared object, loaded once for the run (hosts do not unload it between
    instances either). */
class Module
{
public:
    explicit Module (const std::filesystem::path& bundle)
    {
        const auto folder = bundle / "Contents" / "x86_64-linux";

        if (std::filesystem::is_directory (folder))
            for (const auto& entry : std::filesystem::directory_iterator (folder))
                if (entry.path().extension() == ".so")
                    handle = dlopen (entry.path().c_str(), RTLD_NOW | RTLD_LOCAL);

        if (handle == nullptr)
            return;

        if (auto entry = (ModuleEntryFn) dlsym (handle, "ModuleEntry"); entry != nullptr && ! entry (handle))
            return;

        if (auto get = (GetFactory) dlsym (handle, "GetPluginFactory"))
            factory = get();
    }

    ~Module()
    {
        if (factory != nullptr)
            factory->release();

        if (handle != nullptr)
            if (auto exit = (ModuleExitFn) dlsym (handle, "ModuleExit"))
                exit();
    }

    IPluginFactory* getFactory() const noexcept { return factory; }

    /** The class id of the first audio effect of the factory. */
    bool findEffect (TUID cid) const
    {
        for (int32 i = 0; factory != nullptr && i < factory->countClasses(); ++i)
        {
            PClassInfo info;

            if (factory->getClassInfo (i, &info) == kResultOk && std::strcmp (info.category, kVstAudioEffectClass) == 0)
            {
                std::memcpy (cid, info.cid, sizeof (TUID));
                return true;
            }
        }

        return false;
    }

private:
    void* handle = nullptr;
    IPluginFactory* factory = nullptr;
};

template <typename Interface>
Interface* query (FUnknown* object)
{
    void* found = nullptr;

    if (object == nullptr || object->queryInterface (Interface::iid.toTUID(), &found) != kResultOk)
        return nullptr;

    return static_cast<Interface*> (found);
}

/** One instance with its view shown, set up and taken down in the order Ardour uses. */
class Instance
{
public:
    Instance (const Module& module, HostApplication& host, SharedRunLoop& loop, Display* display, int x, int y)
        : site (loop, display, x, y)
    {
        TUID cid;
        void* made = nullptr;

        if (! module.findEffect (cid)
            || module.getFactory()->createInstance (cid, Vst::IComponent::iid.toTUID(), &made) != kResultOk)
            return;

        component = static_cast<Vst::IComponent*> (made);
        component->initialize (&host);

        TUID controllerCid;
        made = nullptr;

        if (component->getControllerClassId (controllerCid) != kResultOk
            || module.getFactory()->createInstance (controllerCid, Vst::IEditController::iid.toTUID(), &made) != kResultOk)
            return;

        controller = static_cast<Vst::IEditController*> (made);
        controller->initialize (&host);
        controller->setComponentHandler (&site);

        componentPoint = query<Vst::IConnectionPoint> (component);
        controllerPoint = query<Vst::IConnectionPoint> (controller);

        if (componentPoint != nullptr && controllerPoint != nullptr)
        {
            componentPoint->connect (controllerPoint);
            controllerPoint->connect (componentPoint);
        }

        view = controller->createView (Vst::ViewType::kEditor);

        if (view == nullptr)
            return;

        view->setFrame (&site);

        if (view->attached ((void*) site.getWindow(), kPlatformTypeX11EmbedWindowID) != kResultOk)
        {
            view->setFrame (nullptr);
            view->release();
            view = nullptr;
        }
    }

    ~Instance()
    {
        if (view != nullptr)
        {
            view->removed();
            view->setFrame (nullptr);
            view->release();
        }

        if (componentPoint != nullptr && controllerPoint != nullptr)
        {
            componentPoint->disconnect (controllerPoint);
            controllerPoint->disconnect (componentPoint);
        }

        for (auto* point : { componentPoint, controllerPoint })
            if (point != nullptr)
                point->release();

        if (controller != nullptr)
        {
            controller->setComponentHandler (nullptr);
            controller->terminate();
            controller->release();
        }

        if (component != nullptr)
        {
            component->terminate();
            component->release();
        }
    }

    bool showsView() const noexcept { return view != nullptr; }
    const PluginSite& getSite() const noexcept { return site; }

private:
    PluginSite site;
    Vst::IComponent* component = nullptr;
    Vst::IEditController* controller = nullptr;
    Vst::IConnectionPoint* componentPoint = nullptr;
    Vst::IConnectionPoint* controllerPoint = nullptr;
    IPlugView* view = nullptr;
};

class Checks
{
public:
    explicit Checks (const std::filesystem::path& bundleToLoad) : bundle (bundleToLoad) {}

    ~Checks()
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

    int run()
    {
        record ("X display with the XTest extension", screen.isOpen() && display != nullptr);

        if (! screen.isOpen() || display == nullptr)
            return failures;

        Module module (bundle);
        record ("the bundle loads and has an audio effect", module.getFactory() != nullptr);

        if (module.getFactory() == nullptr)
            return failures;

        // The second instance deleted, as in the first report; then the first.
        for (const auto deleted : { 1, 0 })
        {
            const auto kept = 1 - deleted;
            std::unique_ptr<Instance> instances[] { std::make_unique<Instance> (module, host, runLoop, display, 20, 20),
                                                    std::make_unique<Instance> (module, host, runLoop, display, 620, 20) };
            const int lefts[] { 20, 620 };

            const auto bothShown = instances[0]->showsView() && instances[1]->showsView()
                                && waitFor ([&] { return showsPanel (lefts[0]) && showsPanel (lefts[1]); });
            record ("instance " + std::to_string (deleted + 1) + " deleted: both editors show their panels first", bothShown);

            if (! bothShown)
                continue;

            instances[deleted].reset();
            serveFor (200);

            const Point button { lefts[kept] + windowButtonPoint.x, 20 + windowButtonPoint.y };
            screen.click (button.x, button.y);

            const auto& site = instances[kept]->getSite();
            const auto widened = waitFor ([&] { return site.getWidth() == doubleWidth; });
            const auto painted = widened && waitFor ([&] { return showsSecondStrip (lefts[kept]); });

            record ("instance " + std::to_string (deleted + 1) + " deleted: the other editor takes a click (widens to 650)", widened);
            record ("instance " + std::to_string (deleted + 1) + " deleted: the other editor paints (its second strip slides out)", painted);

            instances[kept].reset();
            serveFor (100);
        }

        return failures;
    }

private:
    std::uint32_t pixelAt (int x, int y) const
    {
        const auto pixels = screen.grab (x, y, 1, 1);
        return pixels.size() == 1 ? pixels.front() : 0;
    }

    static bool near (std::uint32_t a, std::uint32_t b)
    {
        const auto channel = [] (std::uint32_t c, int shift) { return (int) ((c >> shift) & 0xff); };

        for (const auto shift : { 0, 8, 16 })
            if (std::abs (channel (a, shift) - channel (b, shift)) > 2)
                return false;

        return (a >> 24) == 0xff;
    }

    /** Drawn by the strip: opaque and not the editor's black background. */
    static bool isStrip (std::uint32_t c) { return (c >> 24) == 0xff && (c & 0xffffff) != 0; }

    bool showsPanel (int left) const
    {
        return near (pixelAt (left + menuBarPoint.x, 20 + menuBarPoint.y), menuBarColour)
            && isStrip (pixelAt (left + firstStripPoint.x, 20 + firstStripPoint.y));
    }

    bool showsSecondStrip (int left) const
    {
        return showsPanel (left) && isStrip (pixelAt (left + secondStripPoint.x, 20 + secondStripPoint.y));
    }

    void serveOnce()
    {
        runLoop.serve (ConnectionNumber (display));

        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
        }
    }

    void serveFor (int milliseconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (milliseconds);

        while (std::chrono::steady_clock::now() < end)
            serveOnce();
    }

    /** Runs the host's main loop until the condition holds. The pointer moves between the menu
        bar and the screen's corner now and then, as a user's hand does: an X client of JUCE
        7.0.5 may leave events in Xlib's queue until the next input comes. */
    bool waitFor (const std::function<bool()>& condition)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (waitTimeoutMs);

        for (int turn = 0; std::chrono::steady_clock::now() < end; ++turn)
        {
            serveOnce();

            if (turn % 10 != 0)
                continue;

            if (condition())
                return true;

            if (turn % 100 == 0)
            {
                const auto overBar = (turn / 100) % 2 == 0;
                screen.movePointer (overBar ? 20 + menuBarPoint.x : screen.screenWidth() - 1,
                                    overBar ? 20 + menuBarPoint.y : screen.screenHeight() - 1);
            }
        }

        return condition();
    }

    void record (const std::string& check, bool passed)
    {
        std::cout << (passed ? "PASS " : "FAIL ") << check << std::endl;

        if (! passed)
            ++failures;
    }

    std::filesystem::path bundle;
    XServerProbe screen;
    Display* display = XOpenDisplay (nullptr);
    SharedRunLoop runLoop;
    HostApplication host;
    int failures = 0;
};

} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: Eq713kRunLoopHostCheck <bundle.vst3>" << std::endl;
        return 2;
    }

    return Checks (argv[1]).run() == 0 ? 0 : 1;
}
