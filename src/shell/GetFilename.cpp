#include "shell/GetFilename.h"

#include "shell/Settings.h"
#include "shell/WindowOperations.h"

#include "platform/CommandLine.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace zembrel {

void GetFilename(AppState& state, MainSurface& window, FileDialog& dialog, ProfileStore& profile,
                 const PathRules& paths) {
    using namespace file_selection_text;
    FileDialogOptions options;
    options.initialFolder = state.XerFolder;
    options.filter = kFilter;
    options.fileMustExist = true;
    // The survey may repair the file in place: a read-only choice could not be honoured.
    options.hideReadOnly = true;
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

namespace {

// The words of the command line that name files: all but the program and "/INI=", which names
// the settings' folder in any letter case.
std::vector<std::string> namedFiles(const std::string& line) {
    std::vector<std::string> words = splitCommandLine("program " + line);
    words.erase(words.begin());
    std::erase_if(words, [](const std::string& word) {
        return upperCaseAscii(word.substr(0, 5)) == "/INI=";
    });
    return words;
}

} // namespace

std::optional<std::string> fileOnCommandLine(const std::string& line, FileSystem& files) {
    for (const std::string& word : namedFiles(line))
        if (files.fileExists(word))
            return word;
    return std::nullopt;
}

std::string whyCommandLineFileIsNotTaken(const std::string& line, FileSystem& files) {
    const std::vector<std::string> named = namedFiles(line);
    if (named.empty())
        return {};
    const std::string& path = named.front();
    const char* why = "It does not exist.";
    if (files.folderExists(path))
        why = "It is a folder.";
    else if (files.entryKind(path) == EntryKind::Other || files.fileId(path))
        why = "It is not an ordinary file.";
    return "The file named on the command line cannot be opened:\r\n" + path + "\r\n\r\n" + why +
           " Please choose the XER file in the window that follows.";
}

xer::SurveyReport StartOver(AppState& state, MainSurface& window, Platform& platform,
                            FileDialog& dialog, ProfileStore& profile) {
    window.setResults("");
    GetFilename(state, window, dialog, profile, platform.paths);
    return SurveyInWindow(state, window, platform);
}

} // namespace zembrel
