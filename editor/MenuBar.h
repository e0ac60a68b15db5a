#pragma once

#include "core/CommandListener.h"
#include "core/HvParamsManager.h"
#include "editor/EditorInstance.h"
#include "widgets/HvDefaultLookAndFeel.h"
#include "widgets/MenuBarShapeButton.h"
#include "widgets/MenuBarUsbButton.h"
#include "widgets/PopupMenu_LAF.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

class Eq713kParamsManager;

/** The strip across the top of the editor: on the left the menu button, whose menu saves and
    loads presets and shows the version; on the right the USB button, lit while the instance is
    connected, blinking while units are listed and none is connected, which opens the device
    selector: one row per listed unit, with CONNECT for a free unit and DISCONNECT for the
    instance's own.

    It listens to "IS CONNECTED", to the instance's list of units and to the instance's
    command queue, where it takes "showDeviceSelector" (posted by the connection poll) and
    nothing else. Message thread only.
*/
class MenuBar : public juce::Component,
                public juce::HvParamsManager::NonAutomatableParamListener,
                public EditorInstance::UnitListListener,
                public juce::CommandListener
{
public:
    enum MenuItemIds
    {
        versionItemId = 1,
        savePresetItemId = 100,
        loadPresetItemId = 101
    };

    static constexpr int usbBlinkIntervalMs = 500;

    class DeviceComponent;

    /** Shows a popup attached to the target component; the menu's result goes to onResult, or
        nowhere when it is empty. */
    using PopupShower = std::function<void (juce::PopupMenu& popup, juce::Component& target,
                                            std::function<void (int result)> onResult)>;

    MenuBar (Eq713kParamsManager& paramsManager, EditorInstance& instance);
    ~MenuBar() override;

    /** The menu button's click: a new menu with the preset commands and the version line. */
    void openMenu();

    /** The USB button's click and "showDeviceSelector": the device popup with the units listed
        now; a device popup already open is closed and shown again with fresh rows. */
    void openDeviceSelector();

    void lookAndFeelChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    void nonAutomatableParamValueChanged (int id, juce::var value) override;
    void unitListChanged() override;
    bool commandListenerCallback (juce::HvCommand* command) override;

    juce::MenuBarShapeButton& getMenuButton() noexcept { return *menuButton; }
    juce::MenuBarUsbButton& getUsbButton() noexcept { return *usbButton; }

    /** The menu last opened, or nullptr before the first. */
    const juce::PopupMenu* getMenu() const noexcept { return menu.get(); }

    /** The device popup, or nullptr before the selector first opened. */
    const juce::PopupMenu* getDevicePopup() const noexcept { return devicePopup.get(); }

    /** By default the framework's asynchronous popup. Replaceable, as no popup window can open
        without a display (headless tests); nothing is shown while it is empty. */
    PopupShower showPopup;

private:
    static void showAttached (juce::PopupMenu& popup, juce::Component& target, std::function<void (int)> onResult);

    void menuItemChosen (int itemId);
    void connectTo (int serialNumber);
    void disconnectOwnUnit();
    void closeDevicePopup();

    // Held while anything of the bar draws text, so that its lettering is the panel's own.
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;

    Eq713kParamsManager& paramsManager;
    EditorInstance& instance;

    // Built before the popups that use them, so that they outlive them.
    juce::PopupMenu_LAF menuLookAndFeel;
    juce::LookAndFeel_V4 devicePopupLookAndFeel;

    std::unique_ptr<juce::PopupMenu> menu;
    std::unique_ptr<juce::PopupMenu> devicePopup;

    std::unique_ptr<juce::MenuBarShapeButton> menuButton;
    std::unique_ptr<juce::MenuBarUsbButton> usbButton;

    juce::Colour gradientTop, gradientBottom;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBar)
};

/** One row of the device selector: the unit's serial number in the list's text colour, and a
    CONNECT button for a free unit, a DISCONNECT button for the unit this instance holds, no
    button for a unit another instance holds. Choosing the row outside its button only closes
    the popup. */
class MenuBar::DeviceComponent : public juce::PopupMenu::CustomComponent
{
public:
    static constexpr int idealWidth = 350;
    static constexpr int idealHeight = 25;

    DeviceComponent (const EditorInstance::Unit& unit, MenuBar& owner);
    ~DeviceComponent() override;

    /** The row's text, also its title for screen readers. */
    static juce::String textFor (int serialNumber);

    void getIdealSize (int& width, int& height) override;
    void resized() override;
    void paint (juce::Graphics& g) override;

    /** The CONNECT or DISCONNECT button; nullptr for a unit held by another instance. */
    juce::TextButton* getButton() const noexcept { return button.get(); }

private:
    const int serialNumber;
    const bool isOurs;
    std::unique_ptr<juce::TextButton> button;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceComponent)
};
