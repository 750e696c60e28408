#pragma once

#include "core/AppState.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Ui.h"

namespace zembrel {

// The family's folder inside the user's application data folder, and the shared settings file.
inline constexpr const char* kFamilyFolderName = "Plovard";
inline constexpr const char* kSuiteSettingsFileName = "Zembrel.INI";

// Decides ProgramFolder, DataFolder (from "/INI=" on the command line, else the family's folder
// in the local application data folder) and SuiteSettingsFile.
// Any failure shows an "ERROR #" message, makes ProgramFolder the data folder and goes on.
void SetUpFolders(AppState& state, Environment& env, FileSystem& files, MessageBoxes& boxes,
                  const PathRules& paths);

} // namespace zembrel
