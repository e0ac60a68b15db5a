#pragma once

#include "editor/MenuBar.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace testing_support
{

/** Stands in for the popups of a menu bar, which cannot open without a display: records each
    popup the bar shows, with the component it is attached to and its result callback, which a
    test calls in place of the user's choice. Make it after the bar and let it go before. */
class PopupRecorder
{
public:
    struct Shown
    {
        const juce::PopupMenu* popup;
        juce::Component* target;
        std::function<void (int)> onResult;
    };

    explicit PopupRecorder (MenuBar& bar)
    {
        bar.showPopup = [this] (juce::PopupMenu& popup, juce::Component& target, std::function<void (int)> onResult)
        {
            shown.push_back ({ &popup, &target, std::move (onResult) });
        };
    }

    std::vector<Shown> shown;
};

/** One item of a popup menu as the menu holds it. */
struct MenuEntry
{
    int id = 0;
    juce::String text;
    bool enabled = true;
    bool separator = false;
    juce::PopupMenu::CustomComponent* custom = nullptr;
};

inline std::vector<MenuEntry> entriesOf (const juce::PopupMenu& popup)
{
    std::vector<MenuEntry> entries;

    for (juce::PopupMenu::MenuItemIterator it (popup); it.next();)
    {
        const auto& item = it.getItem();
        entries.push_back ({ item.itemID, item.text, item.isEnabled, item.isSeparator, item.customComponent.get() });
    }

    return entries;
}

} // namespace testing_support
