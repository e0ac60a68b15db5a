#include "core/PresetCommands.h"

#include "core/Ids.h"
#include "core/PresetFile.h"
#include "core/StateRestoreHandOver.h"

namespace
{

void askWithAlertWindow (const juce::File& existing, std::function<void (bool)> answer)
{
    const auto options = juce::MessageBoxOptions()
                             .withIconType (juce::MessageBoxIconType::WarningIcon)
                             .withTitle ("Save preset...")
                             .withMessage ("\"" + existing.getFileName() + "\" already exists. Do you want to replace it?")
                             .withButton ("Replace")
                             .withButton ("Cancel");

    // The first button answers 1, the second and closing the window 0.
    juce::AlertWindow::showAsync (options, [answer = std::move (answer)] (int result) { answer (result == 1); });
}

void reportWithAlertWindow (const juce::File& target)
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, "Save preset...",
                                            "The preset could not be written to \"" + target.getFullPathName() + "\".");
}

} // namespace

PresetCommands::PresetCommands (StateRestoreHandOver& stateToSaveAndRestore)
    : askToReplace (askWithAlertWindow),
      reportSaveFailure (reportWithAlertWindow),
      state (stateToSaveAndRestore)
{
}

PresetCommands::~PresetCommands()
{
    chooser.reset();
    parkedCommand.reset();
}

void PresetCommands::commandFallback (std::unique_ptr<juce::HvCommand> command)
{
    if (command == nullptr)
        return;

    if (command->id == Ids::hvEq713k::savePreset)
    {
        launchChooser ("Save preset...", juce::String ("*") + PresetFile::extension,
                       juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::warnAboutOverwriting,
                       &PresetCommands::saveChosenFile);
    }
    else if (command->id == Ids::hvEq713k::loadPreset)
    {
        launchChooser ("Load preset...", PresetFile::loadPatterns,
                       juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                       &PresetCommands::loadChosenFile);
    }
    else if (command->id == Ids::hvEq713k::showDeviceSelector)
    {
        parkedCommand = std::move (command);
    }
}

void PresetCommands::launchChooser (const juce::String& title, const juce::String& patterns, int flags,
                                    void (PresetCommands::*completion) (const juce::File&))
{
    auto answer = [self = juce::WeakReference<PresetCommands> (this), completion] (const juce::File& chosen)
    {
        if (auto* owner = self.get())
            (owner->*completion) (chosen);
    };

    if (chooseFile != nullptr)
    {
        chooseFile (title, patterns, std::move (answer));
        return;
    }

    // Replacing the chooser closes a dialog that is still open; it never calls back then.
    chooser = std::make_unique<juce::FileChooser> (title, juce::File::getCurrentWorkingDirectory(), patterns, true, false, nullptr);
    chooser->launchAsync (flags, [answer = std::move (answer)] (const juce::FileChooser& closed) { answer (closed.getResult()); });
}

void PresetCommands::saveChosenFile (const juce::File& chosen)
{
    if (chosen.getFullPathName().isEmpty())
        return;

    const auto target = PresetFile::withPresetExtension (chosen);

    // The dialog asked about the name the user gave, not about the one saved under.
    if (target != chosen && target.exists())
    {
        if (askToReplace == nullptr)
            return;

        askToReplace (target, [self = juce::WeakReference<PresetCommands> (this), target] (bool replace)
        {
            if (auto* owner = self.get(); owner != nullptr && replace)
                owner->writePreset (target);
        });
        return;
    }

    writePreset (target);
}

void PresetCommands::writePreset (const juce::File& target)
{
    juce::MemoryBlock block;
    state.writeState (block);

    if (! PresetFile::write (target, block) && reportSaveFailure != nullptr)
        reportSaveFailure (target);
}

void PresetCommands::loadChosenFile (const juce::File& chosen)
{
    if (chosen.getFullPathName().isEmpty())
        return;

    if (const auto block = PresetFile::read (chosen))
        state.restorePreset (block->getData(), (int) block->getSize());
}
