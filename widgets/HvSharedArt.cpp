#include "widgets/HvSharedArt.h"

#include "resources/fonts/EmbeddedFonts.h"
#include "widgets/EmbeddedTypeface.h"

JUCE_IMPLEMENT_SINGLETON (HvSharedArt)

HvSharedArt::HvSharedArt() = default;

HvSharedArt::~HvSharedArt()
{
    clearSingletonInstance();
}

HvSharedArt& HvSharedArt::get()
{
    return *getInstance();
}

juce::Image HvSharedArt::image (const juce::String& key, const std::function<juce::Image()>& make)
{
    const juce::ScopedLock sl (lock);

    if (const auto found = images.find (key); found != images.end())
        return found->second;

    if ((int) images.size() >= imagesBeforePurge)
        dropImagesHeldOnlyHere();

    auto made = make();
    images.emplace (key, made);
    return made;
}

void HvSharedArt::dropImagesHeldOnlyHere()
{
    for (auto it = images.begin(); it != images.end();)
    {
        // Held by the store alone.
        if (! it->second.isValid() || it->second.getReferenceCount() <= 1)
            it = images.erase (it);
        else
            ++it;
    }
}

int HvSharedArt::numImages() const
{
    const juce::ScopedLock sl (lock);
    return (int) images.size();
}

juce::Typeface::Ptr HvSharedArt::face (Face which)
{
    struct Data
    {
        const char* bytes;
        int size;
    };

    const Data data[] {
        { FontBinaryData::temp_binary_data_4, FontBinaryData::temp_binary_data_4Size },
        { FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size },
        { FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size },
        { FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size },
        { FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size },
    };

    const auto index = (size_t) which;
    const juce::ScopedLock sl (lock);

    if (faces[index] == nullptr)
        faces[index] = EmbeddedTypeface::create (data[index].bytes, (size_t) data[index].size);

    return faces[index];
}

juce::Typeface::Ptr HvSharedArt::typeface (const juce::String& key, const std::function<juce::Typeface::Ptr()>& make)
{
    const juce::ScopedLock sl (lock);

    if (const auto found = madeFaces.find (key); found != madeFaces.end())
        return found->second;

    auto made = make();
    madeFaces.emplace (key, made);
    return made;
}
