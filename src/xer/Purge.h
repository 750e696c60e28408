#pragma once

#include "core/PromptPlayer.h"
#include "platform/Platform.h"
#include "core/AppState.h"
#include "core/MainSurface.h"

namespace zembrel::xer {

// How a purge ended.
enum class PurgeOutcome {
    Created,  // the new file was written and is now the current file
    Declined, // the new file exists and the user kept it
    Refused,  // the current file is missing, empty, or there was nothing to purge
    Failed,   // a file operation failed; nothing is left under the new name
    Stopped,  // the program is closing; nothing is left under the new name
};

// The Purge command: writes the current XER file's POBS-free copy beside it, keeping only the
// RISKTYPE records that its risks refer to, and makes the copy the current file.
PurgeOutcome Purge(AppState& state, MainSurface& window, Platform& platform, PromptPlayer& prompts);

} // namespace zembrel::xer
