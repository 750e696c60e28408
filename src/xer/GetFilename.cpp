#include "xer/GetFilename.h"

#include "platform/PathSeparator.h"
#include "shell/Settings.h"

#include <algorithm>

namespace zembrel {

namespace {

// Windows paths are compared without regard to case, so the program keeps them in upper case;
// elsewhere the case names a different file and stays as chosen.
std::string platformCase(std::string path) {
#ifdef _WIN32
    return upperCaseAscii(std::move(path));
#else
    return path;
#endif
}

} // namespace

void GetFilename(AppState& state, MainSurface& window, FileDialog& dialog, ProfileStore& profile) {
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
    if (choice->path.empty())
        return;
    state.CurrentXerName = choice->name;
    state.CurrentXerPath = platformCase(choice->path);
    window.setFileName(state.CurrentXerName);
    const std::size_t nameLength =
        std::min(state.CurrentXerName.size(), state.CurrentXerPath.size());
    state.XerFolder = state.CurrentXerPath.substr(0, state.CurrentXerPath.size() - nameLength);
    // Not reported: the folder in memory serves this run even when the file cannot be written.
    writeSetting(profile, settings::kConfigureSection, settings::kXerLocation, state.XerFolder,
                 state.SuiteSettingsFile);
}

SurveyOutcome StartOver(AppState& state, MainSurface& window, Platform& platform,
                        FileDialog& dialog, ProfileStore& profile) {
    window.setResults("");
    GetFilename(state, window, dialog, profile);
    return PerformSurvey(state, window, platform);
}

} // namespace zembrel
