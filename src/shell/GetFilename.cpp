#include "shell/GetFilename.h"

#include "shell/Settings.h"
#include "shell/WindowOperations.h"

#include "platform/CommandLine.h"
#include "platform/Text.h"

#include <algorithm>

namespace zembrel {

void GetFilename(AppState& state, MainSurface& window, FileDialog& dialog, ProfileStore& profile,
                 const PathRules& paths) {
    using namespace file_selection_text;
    FileDialogOptions options;
    options.initialFolder = state.XerFolder;
    options.filter = kFilter;
    options.fileMustExist = true;
    options.title = kTitle;
    options.helpFile = state.HelpFilePath;
    const auto choice = dialog.open(options);
    if (!choice) {
        window.setResults(kExplanation);
        window.redrawResults();
        return;
    }
    TakeChosenFile(state, window, profile, paths, *choice);
}

void TakeChosenFile(AppState& state, MainSurface& window, ProfileStore& profile,
                    const PathRules& paths, const FileChoice& choice) {
    if (choice.path.empty())
        return;
    state.CurrentXerName = choice.name;
    // Where names do not tell letter case apart the program keeps the path in upper case.
    state.CurrentXerPath = paths.chosenPath(choice.path);
    window.setFileName(state.CurrentXerName);
    const std::size_t nameLength =
        std::min(state.CurrentXerName.size(), state.CurrentXerPath.size());
    state.XerFolder = state.CurrentXerPath.substr(0, state.CurrentXerPath.size() - nameLength);
    // Not reported: the folder in memory serves this run even when the file cannot be written.
    writeSetting(profile, settings::kConfigureSection, settings::kXerLocation, state.XerFolder,
                 state.SuiteSettingsFile);
}

std::optional<std::string> fileOnCommandLine(const std::string& line, FileSystem& files) {
    const auto words = splitCommandLine("program " + line);
    for (std::size_t i = 1; i < words.size(); ++i) {
        // "/INI=" names the settings' folder, in any letter case.
        if (upperCaseAscii(words[i].substr(0, 5)) != "/INI=" && files.fileExists(words[i]))
            return words[i];
    }
    return std::nullopt;
}

xer::SurveyReport StartOver(AppState& state, MainSurface& window, Platform& platform,
                            FileDialog& dialog, ProfileStore& profile) {
    window.setResults("");
    GetFilename(state, window, dialog, profile, platform.paths);
    return SurveyInWindow(state, window, platform);
}

} // namespace zembrel
