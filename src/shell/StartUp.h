#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "shell/ShellServices.h"
#include "shell/StartUpWindow.h"
#include "xer/Report.h"

namespace zembrel {

inline constexpr const char* kHelpFileName = "ZembrelPOBS.chm";
inline constexpr const char* kSettingsFileName = "ZembrelPOBS.INI";

// The start-up sequence: splash, folders, settings, start prompt, file dialog, then the first
// survey in the shown main window with its input disabled and the busy pointer up.
xer::SurveyReport StartUp(AppState& state, MainSurface& window, StartUpWindow& windows,
                          ShellServices& services);

// Shut-down, however the main window was closed: saves its position, lets pending events run
// once and ends the program.
void ShutDown(const AppState& state, const MainSurface& window, StartUpWindow& windows,
              ShellServices& services);

} // namespace zembrel
