#pragma once

#include "core/HvCommand.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

class StateRestoreHandOver;

/** The instance's part of the command queue: the commands that no listener took.

    "savePreset" and "loadPreset" open the file dialog and write or read a preset file;
    the last "showDeviceSelector" that nobody took is kept, with no further effect. The
    dialog's completions are the two functions taking the chosen file, which never open a
    file dialog themselves. Message thread only.
*/
class PresetCommands
{
public:
    /** Saves what the host would save, and loads as the user's edit, both through the
        instance's state hand-over. */
    explicit PresetCommands (StateRestoreHandOver& state);
    ~PresetCommands();

    /** The command queue's fallback; a command that is not kept is deleted on return. */
    void commandFallback (std::unique_ptr<juce::HvCommand> command);

    /** Saves the state under the chosen name with the preset extension; an empty file (a
        cancelled dialog) saves nothing. When the extension changed and that file exists,
        the user is asked before it is replaced. */
    void saveChosenFile (const juce::File& chosen);

    /** Restores the state from the chosen file; a cancelled dialog, a missing file or one
        that cannot be read completely changes nothing. */
    void loadChosenFile (const juce::File& chosen);

    /** Asks whether an existing file may be replaced and answers through the callback,
        now or later. By default an asynchronous alert window. */
    std::function<void (const juce::File& existing, std::function<void (bool replace)> answer)> askToReplace;

    /** Tells the user that the preset could not be written. By default an asynchronous
        alert window. */
    std::function<void (const juce::File& target)> reportSaveFailure;

    /** Asks the user for a file and answers through the callback, now or later (an empty
        file when the user cancelled). When empty, the native file dialog asks. */
    std::function<void (const juce::String& title, const juce::String& patterns,
                        std::function<void (const juce::File& chosen)> answer)> chooseFile;

    /** The last "showDeviceSelector" that reached the fallback, or nullptr. */
    const juce::HvCommand* getParkedCommand() const noexcept { return parkedCommand.get(); }

private:
    void launchChooser (const juce::String& title, const juce::String& patterns, int flags,
                        void (PresetCommands::*completion) (const juce::File&));
    void writePreset (const juce::File& target);

    StateRestoreHandOver& state;
    std::unique_ptr<juce::FileChooser> chooser;
    std::unique_ptr<juce::HvCommand> parkedCommand;

    JUCE_DECLARE_WEAK_REFERENCEABLE (PresetCommands)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetCommands)
};
