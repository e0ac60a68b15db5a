#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <map>

/** What the panel draws that depends on no instance, made once per process and shared by every
    editor: rendered images by a key that names everything they are made from (kind, size,
    colour, ...), and the embedded typefaces.

    It is created on first use and lives until the framework shuts down (it is deleted with the
    framework's other singletons), so an editor opened again after the last one closed finds
    everything made. Nothing in it runs a timer or needs the message thread to go away: a host
    that shuts the framework down from a thread of its own after the last editor went can
    delete it there. Images handed out are never drawn into again, so a widget may keep one as
    long as it likes; an image that only the store still holds may be dropped when many
    accumulate (a window resized to many sizes), and is made again when asked for. Lookups are
    locked, so widgets may ask from any thread, though the kit asks from the message thread. */
class HvSharedArt : private juce::DeletedAtShutdown
{
public:
    enum class Face
    {
        console,
        latoRegular,
        latoBold,
        latoItalic,
        latoBoldItalic
    };

    /** The store, made on the first call. */
    static HvSharedArt& get();

    /** The image stored under the key, made by `make` when there is none yet. The key must name
        everything the image depends on. */
    juce::Image image (const juce::String& key, const std::function<juce::Image()>& make);

    /** A key of the kind and the values, joined with "/". */
    template <typename... Values>
    static juce::String key (const char* kind, const Values&... values)
    {
        juce::String result (kind);
        ((result << "/" << juce::String (values)), ...);
        return result;
    }

    /** One of the embedded faces, loaded on first use. */
    juce::Typeface::Ptr face (Face which);

    /** The typeface stored under the key, made by `make` when there is none yet (a face made
        from the embedded ones). */
    juce::Typeface::Ptr typeface (const juce::String& key, const std::function<juce::Typeface::Ptr()>& make);

    /** How many images the store holds. */
    int numImages() const;

    /** How many images it may hold before it drops those that nobody else holds. */
    static constexpr int imagesBeforePurge = 400;

    ~HvSharedArt() override;

    JUCE_DECLARE_SINGLETON (HvSharedArt, false)

private:
    HvSharedArt();

    void dropImagesHeldOnlyHere();

    juce::CriticalSection lock;
    std::map<juce::String, juce::Image> images;
    juce::Typeface::Ptr faces[5];
    std::map<juce::String, juce::Typeface::Ptr> madeFaces;

    JUCE_DECLARE_NON_COPYABLE (HvSharedArt)
};
