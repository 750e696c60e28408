#pragma once

#include "core/AppState.h"
#include "platform/HelpViewer.h"
#include "platform/Ui.h"

#include <string>

namespace zembrel {

inline constexpr const char* kVersionNoticeTitle = "Plovard Enterprise";

// File "&Version": "Version Number 4.42" under the title "Plovard Enterprise".
void ShowVersionNotice(MessageBoxes& boxes);

// The splash window's version line: "Zembrel Version 4.42.731".
std::string SplashVersionText();

// Help "&Contents": the help file on its table of contents.
void ShowHelpContents(const AppState& state, HelpViewer& help);

} // namespace zembrel
