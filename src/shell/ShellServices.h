#pragma once

#include "core/ModalWindows.h"
#include "core/PromptPlayer.h"
#include "platform/Environment.h"
#include "platform/FileDialog.h"
#include "platform/HelpViewer.h"
#include "platform/Platform.h"
#include "platform/ProfileStore.h"
#include "platform/ProgramStarter.h"

namespace zembrel {

// Every service the main window's commands use, handed in by the program or by a test. The
// referenced objects outlive the window.
struct ShellServices {
    Platform& platform;
    Environment& environment;
    ProfileStore& profile;
    FileDialog& dialog;
    HelpViewer& help;
    PromptPlayer& prompts;
    ProgramStarter& programs;
    ModalWindows& windows;
};

} // namespace zembrel
