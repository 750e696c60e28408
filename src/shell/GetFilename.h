#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/ProfileStore.h"
#include "xer/Report.h"

#include <optional>
#include <string>

namespace zembrel {

// Asks for the XER file to work on and makes it the current file; remembers its folder under
// XER_LOCATION at once. On cancel the results label explains what the program is for.
void GetFilename(AppState& state, MainSurface& window, FileDialog& dialog, ProfileStore& profile,
                 const PathRules& paths);

// Makes a file the current one as a choice in the dialog does: for a file dropped on the window
// or named on the command line as well.
void TakeChosenFile(AppState& state, MainSurface& window, ProfileStore& profile,
                    const PathRules& paths, const FileChoice& choice);

// The first existing file that the command line names, besides the "/INI=" option.
std::optional<std::string> fileOnCommandLine(const std::string& line, FileSystem& files);
// Why no file named on the command line can be taken, said of the first one named (missing, a
// folder, neither a file nor a folder); empty when the line names none.
std::string whyCommandLineFileIsNotTaken(const std::string& line, FileSystem& files);

// "&Start Over": empties the results label, asks for a file and surveys the current one.
xer::SurveyReport StartOver(AppState& state, MainSurface& window, Platform& platform,
                            FileDialog& dialog, ProfileStore& profile);

namespace file_selection_text {
inline constexpr const char* kFilter = "P6 XER Files|*.XER";
inline constexpr const char* kTitle = "Select the P6 Backup File to be Analyzed.";
inline constexpr const char* kExplanation =
    "According to the Oracle/Primavera Knowledgebase, the P6 functions related to table POBS "
    "have not been implemented yet so the table exists but is not supposed to be used.  Due to "
    "a programming error, useless POBS data is being transferred via XER files and this data is "
    "quickly growing.  This can cause very long import times and wastes database space.  This "
    "program will create a new XER file that does not include this unwanted POBS data.";
} // namespace file_selection_text

} // namespace zembrel
