#include "support/xserver/XServerProbe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <iostream>

struct XServerProbe::Connection
{
    Display* display = nullptr;
};

namespace
{

/** Reports an X error and goes on. Xlib's own handler ends the process, and neither this
    host's copy of JUCE nor the plug-in's installs another outside a JUCE application: a window
    that one side destroys while the other still configures it (the embedding in JUCE's
    hosting) would end the check. */
int reportXError (Display* display, XErrorEvent* error)
{
    char text[256] = {};
    XGetErrorText (display, error->error_code, text, (int) sizeof (text));
    std::cerr << "X error (not fatal here): " << text << ", request " << (int) error->request_code << std::endl;
    return 0;
}

} // namespace

XServerProbe::XServerProbe() : connection (std::make_unique<Connection>())
{
    XSetErrorHandler (reportXError);
    connection->display = XOpenDisplay (nullptr);

    int eventBase = 0, errorBase = 0, major = 0, minor = 0;

    if (connection->display != nullptr && ! XTestQueryExtension (connection->display, &eventBase, &errorBase, &major, &minor))
    {
        XCloseDisplay (connection->display);
        connection->display = nullptr;
    }
}

XServerProbe::~XServerProbe()
{
    if (connection->display != nullptr)
        XCloseDisplay (connection->display);
}

bool XServerProbe::isOpen() const noexcept
{
    return connection->display != nullptr;
}

std::vector<std::uint32_t> XServerProbe::grab (int x, int y, int width, int height) const
{
    auto* display = connection->display;

    if (display == nullptr || width <= 0 || height <= 0)
        return {};

    const auto root = DefaultRootWindow (display);
    XWindowAttributes rootAttributes {};
    XGetWindowAttributes (display, root, &rootAttributes);

    if (x < 0 || y < 0 || x + width > rootAttributes.width || y + height > rootAttributes.height)
        return {};

    auto* image = XGetImage (display, root, x, y, (unsigned int) width, (unsigned int) height, AllPlanes, ZPixmap);

    if (image == nullptr)
        return {};

    std::vector<std::uint32_t> pixels;
    pixels.reserve ((size_t) width * (size_t) height);

    // The screen is 24-bit TrueColor: the masks say where each channel sits.
    const auto channel = [] (unsigned long pixel, unsigned long mask) -> std::uint32_t
    {
        if (mask == 0)
            return 0;

        int shift = 0;
        while (((mask >> shift) & 1u) == 0)
            ++shift;

        const auto maximum = mask >> shift;
        return (std::uint32_t) (((pixel & mask) >> shift) * 255u / maximum);
    };

    for (int row = 0; row < height; ++row)
    {
        for (int column = 0; column < width; ++column)
        {
            const auto pixel = XGetPixel (image, column, row);
            pixels.push_back (0xff000000u | (channel (pixel, image->red_mask) << 16)
                              | (channel (pixel, image->green_mask) << 8) | channel (pixel, image->blue_mask));
        }
    }

    XDestroyImage (image);
    return pixels;
}

void XServerProbe::click (int x, int y) const
{
    auto* display = connection->display;

    if (display == nullptr)
        return;

    XTestFakeMotionEvent (display, DefaultScreen (display), x, y, CurrentTime);
    XTestFakeButtonEvent (display, 1, True, CurrentTime);
    XTestFakeButtonEvent (display, 1, False, CurrentTime);
    XSync (display, False);
}

void XServerProbe::movePointer (int x, int y) const
{
    if (auto* display = connection->display)
    {
        XTestFakeMotionEvent (display, DefaultScreen (display), x, y, CurrentTime);
        XSync (display, False);
    }
}

std::vector<XServerProbe::ShownWindow> XServerProbe::shownTopLevelWindows() const
{
    auto* display = connection->display;

    if (display == nullptr)
        return {};

    // Held still while it is looked at, so that no window it asks about is gone meanwhile
    // (which would be an X error).
    XGrabServer (display);

    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int numChildren = 0;
    std::vector<ShownWindow> shown;

    if (XQueryTree (display, DefaultRootWindow (display), &root, &parent, &children, &numChildren) != 0)
    {
        for (unsigned int i = 0; i < numChildren; ++i)
        {
            XWindowAttributes attributes {};

            if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                shown.push_back ({ children[i], attributes.x, attributes.y, attributes.width, attributes.height });
        }
    }

    if (children != nullptr)
        XFree (children);

    XUngrabServer (display);
    XSync (display, False);
    return shown;
}

int XServerProbe::countShownTopLevelWindows() const
{
    return (int) shownTopLevelWindows().size();
}

int XServerProbe::screenWidth() const
{
    auto* display = connection->display;
    return display != nullptr ? DisplayWidth (display, DefaultScreen (display)) : 0;
}

int XServerProbe::screenHeight() const
{
    auto* display = connection->display;
    return display != nullptr ? DisplayHeight (display, DefaultScreen (display)) : 0;
}
