#include "shell/StartUp.h"

#include "shell/GetFilename.h"
#include "shell/SetUpFolders.h"
#include "shell/Settings.h"
#include "shell/WindowOperations.h"

namespace zembrel {

xer::SurveyReport StartUp(AppState& state, MainSurface& window, StartUpWindow& windows,
                          ShellServices& services) {
    Platform& platform = services.platform;
    windows.showSplash();
    SetUpFolders(state, services.environment, platform.files, platform.boxes, platform.paths);
    state.HelpFilePath = state.ProgramFolder + kHelpFileName;
    state.SettingsFile = state.DataFolder + kSettingsFileName;
    ReadSettings(state, window, services.profile, platform.paths);
    state.QuoteChar = '"';
    state.TabChar = '\t';
    window.setVoiceChecked(state.SoundOn);
    windows.closeSplash();
    services.prompts.play(prompt::ChooseFile);
    // A file named on the command line (a file manager's "Open with") is taken instead of
    // asking for one; one that cannot be taken is explained before the dialog asks.
    const std::string line = services.environment.commandLine();
    if (const auto named = fileOnCommandLine(line, platform.files)) {
        TakeChosenFile(state, window, services.profile, platform.paths,
                       {*named, platform.paths.nameOf(*named)});
    } else {
        if (const std::string why = whyCommandLineFileIsNotTaken(line, platform.files);
            !why.empty())
            platform.boxes.show(why, MessageButtons::Ok, MessageIcon::Exclamation, kAppTitle);
        GetFilename(state, window, services.dialog, services.profile, platform.paths);
    }
    windows.showMainWindow();
    windows.setMainInputEnabled(false);
    platform.pointer.setBusy(true);
    const xer::SurveyReport report = SurveyInWindow(state, window, platform);
    platform.pointer.setBusy(false);
    windows.setMainInputEnabled(true);
    return report;
}

void ShutDown(const AppState& state, const MainSurface& window, StartUpWindow& windows,
              ShellServices& services) {
    // Not checked: a position that cannot be written is lost, and the program ends all the same.
    SaveWindowPosition(state, window, services.profile);
    services.platform.events.processEventsNow();
    windows.endProgram();
}

} // namespace zembrel
