#pragma once

#include <cstdint>
#include <memory>
#include <vector>

/** Looks at and acts on the X server of $DISPLAY from the outside, as a user in front of it
    would: reads the pixels on the screen, counts the windows shown, and clicks with the server's
    own pointer (through the XTest extension).

    The host checks and the screenshots use it to see what an editor, which draws into an X
    window of its own, really shows, popups included, and to press its buttons. Kept apart from
    JUCE's headers, which do not mix with Xlib's. */
class XServerProbe
{
public:
    XServerProbe();
    ~XServerProbe();

    /** Whether a display was reached (with the XTest extension). */
    bool isOpen() const noexcept;

    /** The screen's pixels in the area as 0xffRRGGBB, row by row; empty when they cannot be read
        (nothing open, or the area is not on the screen). */
    std::vector<std::uint32_t> grab (int x, int y, int width, int height) const;

    /** Moves the pointer to the point of the screen and presses and releases the first button. */
    void click (int x, int y) const;

    /** Moves the pointer to the point of the screen. */
    void movePointer (int x, int y) const;

    /** A window on the root that is shown, where it is on the screen. */
    struct ShownWindow
    {
        unsigned long id;
        int x, y, width, height;
    };

    /** The windows on the root that are shown (the top-level windows and popups), from the
        bottom of the stack to its top. */
    std::vector<ShownWindow> shownTopLevelWindows() const;

    /** The number of windows on the root that are shown. */
    int countShownTopLevelWindows() const;

    /** The screen's width and height; zero when nothing is open. */
    int screenWidth() const;
    int screenHeight() const;

private:
    struct Connection;
    std::unique_ptr<Connection> connection;

    XServerProbe (const XServerProbe&) = delete;
    XServerProbe& operator= (const XServerProbe&) = delete;
};
