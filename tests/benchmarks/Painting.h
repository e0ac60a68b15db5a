#pragma once

#include "editor/EQ713K_Panel.h"
#include "support/Rendering.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>
#include <set>

namespace benchmarks
{

/** A first full paint: into a new image of the component's size, as a new window's first
    paint goes into a new backing store. */
inline juce::Image firstPaintOf (juce::Component& component)
{
    return testing_support::renderComponent (component);
}

/** A full repaint into an image of the component's size kept from before, as an open window
    repaints into its backing store. */
inline void repaintInto (juce::Component& component, juce::Image& image)
{
    juce::Graphics g (image);
    component.paintEntireComponent (g, false);
}

inline void collectFaceplatePictures (juce::Component& component, std::set<const juce::ImagePixelData*>& pictures)
{
    if (auto* faceplate = dynamic_cast<EQ713K_Panel*> (&component); faceplate != nullptr && faceplate->getScaledImage().isValid())
        pictures.insert (faceplate->getScaledImage().getPixelData());

    for (auto* child : component.getChildren())
        collectFaceplatePictures (*child, pictures);
}

/** How many faceplate pictures the faceplates under the components show together: one when
    every faceplate of a size shows the same picture. */
inline int distinctFaceplatePictures (std::initializer_list<juce::Component*> roots)
{
    std::set<const juce::ImagePixelData*> pictures;

    for (auto* root : roots)
        collectFaceplatePictures (*root, pictures);

    return (int) pictures.size();
}

} // namespace benchmarks
