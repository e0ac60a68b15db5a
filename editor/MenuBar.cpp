#include "editor/MenuBar.h"

#include "core/Eq713kParamsManager.h"
#include "core/HvCommand.h"
#include "core/Ids.h"
#include "core/ParamData.h"

#include "PanelArtwork.h"

namespace
{

juce::Path iconFromData (const void* data, int size)
{
    juce::Path icon;
    icon.loadPathFromData (data, (size_t) size);
    return icon;
}

const juce::Colour devicePopupBackground { 0xff303030 };
const juce::Colour devicePopupButton { 0xff1e1e1e };

const juce::Colour ownUnitTextColour { 0xff0092ff };
const juce::Colour otherUnitTextColour { 0xffb3b6bd };

} // namespace

//==============================================================================
MenuBar::MenuBar (Eq713kParamsManager& paramsManagerToUse, EditorInstance& instanceToUse)
    : paramsManager (paramsManagerToUse),
      instance (instanceToUse),
      menuButton (std::make_unique<juce::MenuBarShapeButton>()),
      usbButton (std::make_unique<juce::MenuBarUsbButton> (usbBlinkIntervalMs))
{
    showPopup = showAttached;

    menuButton->setShape (iconFromData (PanelArtwork::MenuIcon_path, PanelArtwork::MenuIcon_pathSize));
    usbButton->setShape (iconFromData (PanelArtwork::UsbIcon_path, PanelArtwork::UsbIcon_pathSize));
    addAndMakeVisible (*menuButton);
    addAndMakeVisible (*usbButton);

    menuButton->onClick = [this] { openMenu(); };
    usbButton->onClick = [this] { openDeviceSelector(); };

    lookAndFeelChanged();

    paramsManager.addNonAutomatableParamListener (this, ParamData::IS_CONNECTED, juce::HvParamsManager::notifyCurrentValue);
    instance.addCommandListener (this);

    // Also before the instance has started (a host that builds instances on its own thread
    // asks for the editor before the start has run).
    instance.addUnitListListener (this);

    unitListChanged();
}

MenuBar::~MenuBar()
{
    // Popup windows are deleted later by the framework: they must not keep our look-and-feels.
    if (menu != nullptr)
    {
        menu->setLookAndFeel (nullptr);
        juce::PopupMenu::dismissAllActiveMenus();
    }

    if (devicePopup != nullptr)
    {
        devicePopup->setLookAndFeel (nullptr);
        closeDevicePopup();
    }

    devicePopup.reset();

    paramsManager.removeNonAutomatableParamListener (this, ParamData::IS_CONNECTED);
    instance.removeCommandListener (this);

    instance.removeUnitListListener (this);
}

//==============================================================================
void MenuBar::openMenu()
{
    menu = std::make_unique<juce::PopupMenu>();
    menu->addItem (savePresetItemId, "Save preset");
    menu->addItem (loadPresetItemId, "Load preset");
    menu->addSeparator();
    menu->addItem (versionItemId, juce::String ("Plugin version: ") + JucePlugin_VersionString, false);
    menu->setLookAndFeel (&menuLookAndFeel);

    if (showPopup == nullptr)
        return;

    // The result may come after this bar is gone: the callback keeps its own safe pointer.
    showPopup (*menu, *menuButton, [self = juce::Component::SafePointer<MenuBar> (this)] (int result)
    {
        if (auto* bar = self.getComponent())
            bar->menuItemChosen (result);
    });
}

void MenuBar::menuItemChosen (int itemId)
{
    if (itemId == savePresetItemId)
        instance.sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::savePreset));
    else if (itemId == loadPresetItemId)
        instance.sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::loadPreset));
}

void MenuBar::openDeviceSelector()
{
    const auto units = instance.getUnits();

    if (devicePopup != nullptr)
    {
        closeDevicePopup();
    }
    else
    {
        devicePopupLookAndFeel.setColour (juce::PopupMenu::backgroundColourId, devicePopupBackground);
        devicePopupLookAndFeel.setColour (juce::TextButton::buttonColourId, devicePopupButton);
        devicePopup = std::make_unique<juce::PopupMenu>();
        devicePopup->setLookAndFeel (&devicePopupLookAndFeel);
    }

    for (const auto& unit : units)
    {
        auto row = std::make_unique<DeviceComponent> (unit, *this);

        // A row that the menu triggers needs a title for screen readers.
        devicePopup->addCustomItem (unit.serialNumber + 1, std::move (row), nullptr, DeviceComponent::textFor (unit.serialNumber));
    }

    if (showPopup != nullptr)
        showPopup (*devicePopup, *usbButton, nullptr);
}

void MenuBar::connectTo (int serialNumber)
{
    instance.connectToUnit (serialNumber);
    closeDevicePopup();
}

void MenuBar::disconnectOwnUnit()
{
    instance.disconnectFromUnit();
    closeDevicePopup();
}

void MenuBar::closeDevicePopup()
{
    juce::PopupMenu::dismissAllActiveMenus();

    if (devicePopup != nullptr)
        devicePopup->clear();
}

void MenuBar::showAttached (juce::PopupMenu& popup, juce::Component& target, std::function<void (int)> onResult)
{
    // A popup window needs a screen; without one (a headless host) nothing is shown.
    if (juce::Desktop::getInstance().getDisplays().displays.isEmpty())
        return;

    const auto options = juce::PopupMenu::Options().withTargetComponent (&target);

    // Without modal loops the framework wants a callback object, never a null one.
    if (onResult != nullptr)
        popup.showMenuAsync (options, std::move (onResult));
    else
        popup.showMenuAsync (options);
}

//==============================================================================
void MenuBar::lookAndFeelChanged()
{
    juce::MainMenuColours colours;

    if (auto* hvLookAndFeel = dynamic_cast<juce::HvLookAndFeel*> (&getLookAndFeel()))
        colours = hvLookAndFeel->mainMenuColours;

    gradientTop = colours[0];
    gradientBottom = colours[1];
    menuButton->setColours (colours);
    usbButton->setColours (colours);
    repaint();
}

void MenuBar::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();

    g.setGradientFill (juce::ColourGradient (gradientTop, 0.0f, 0.0f, gradientBottom, 0.0f, height, false));
    g.fillAll();

    g.setColour (juce::Colours::black);
    g.drawLine (0.0f, height, width, height);
}

void MenuBar::resized()
{
    const auto height = getHeight();

    menuButton->setBounds (0, 0, height, height);
    menuButton->setContentHeight (0.7f * (float) height);

    // width - 1.2 * height, truncated; in integers, so that 1.2 carries no rounding error.
    usbButton->setBounds ((5 * getWidth() - 6 * height) / 5, 0, height, height);
    usbButton->setContentHeight ((float) height);
}

//==============================================================================
void MenuBar::nonAutomatableParamValueChanged (int id, juce::var value)
{
    if (id == ParamData::IS_CONNECTED)
        usbButton->setIsConnected (static_cast<bool> (value));
}

void MenuBar::unitListChanged()
{
    usbButton->setHasDevices (! instance.getUnits().isEmpty());
}

bool MenuBar::commandListenerCallback (juce::HvCommand* command)
{
    if (command == nullptr || command->id != Ids::hvEq713k::showDeviceSelector)
        return false;

    openDeviceSelector();
    return true;
}

//==============================================================================
MenuBar::DeviceComponent::DeviceComponent (const EditorInstance::Unit& unit, MenuBar& owner)
    : serialNumber (unit.serialNumber),
      isOurs (unit.holder == EditorInstance::UnitHolder::thisInstance)
{
    const auto isFree = unit.holder == EditorInstance::UnitHolder::nobody;

    if (! isFree && ! isOurs)
        return;

    button = std::make_unique<juce::TextButton> (isOurs ? "DISCONNECT" : "CONNECT");
    addAndMakeVisible (*button);

    // The action clears the device popup, which deletes this row, its button and this very
    // function: it works on copies and touches nothing of the row afterwards.
    button->onClick = [bar = juce::Component::SafePointer<MenuBar> (&owner), serial = serialNumber, disconnecting = isOurs]
    {
        const auto menuBar = bar;
        const auto chosenSerial = serial;
        const auto isDisconnect = disconnecting;

        if (auto* target = menuBar.getComponent())
        {
            if (isDisconnect)
                target->disconnectOwnUnit();
            else
                target->connectTo (chosenSerial);
        }
    };
}

MenuBar::DeviceComponent::~DeviceComponent() = default;

juce::String MenuBar::DeviceComponent::textFor (int serialNumber)
{
    return "Halvorstine EQ864, serial No: " + juce::String (serialNumber);
}

void MenuBar::DeviceComponent::getIdealSize (int& width, int& height)
{
    width = idealWidth;
    height = idealHeight;
}

void MenuBar::DeviceComponent::resized()
{
    if (button != nullptr)
        button->setBounds (getWidth() - 80, 2, 78, getHeight() - 4);
}

void MenuBar::DeviceComponent::paint (juce::Graphics& g)
{
    const auto width = getWidth();
    const auto height = getHeight();

    if (isItemHighlighted())
    {
        juce::ColourGradient highlight (juce::Colour (0xff414141), 0.0f, 0.0f, juce::Colour (0xff1e1e1e), 0.0f, (float) height, false);
        highlight.addColour (0.5, juce::Colour (0xff282828));
        g.setGradientFill (highlight);
        g.fillRect (0, 2, width, height - 4);
    }

    g.setFont (15.0f);
    g.setColour (isOurs ? ownUnitTextColour : otherUnitTextColour);
    g.drawText (textFor (serialNumber), juce::Rectangle<int> (10, 0, width - 10, height), juce::Justification::centredLeft, true);
}
