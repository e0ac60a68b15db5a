#pragma once

#include <juce_graphics/juce_graphics.h>

/** A typeface made from font data that stays in memory for the process (the embedded font
    files), for the panel's own lettering.

    On Linux the framework's typeface-from-memory call first makes it scan every font folder of
    the machine (its list of system faces is built on first use), which costs the first editor
    of a process more than everything else it does, and grows with the fonts a user has; the
    panel draws only embedded faces. This typeface reads the data with FreeType on a library of
    its own instead, and reads every glyph as the framework's own FreeType typeface does
    (unhinted outlines in units of the face's height, its advance, the face's kerning pairs),
    so text drawn in it looks exactly the same. Elsewhere it is the framework's typeface. */
class EmbeddedTypeface
{
public:
    EmbeddedTypeface() = delete;

    /** The face in the data, which must stay valid and unchanged for as long as the typeface
        lives; null when the data holds no face. */
    static juce::Typeface::Ptr create (const void* data, size_t size);
};
