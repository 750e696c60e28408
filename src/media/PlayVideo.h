#pragma once

#include "core/AppState.h"
#include "core/ModalWindows.h"
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "platform/ProgramStarter.h"

#include <string>

namespace zembrel {

namespace video_text {
inline constexpr const char* kVideoFileName = "ZembrelPOBS.avi";
// Between the quoted player and the quoted video: play it, and close at its end.
inline constexpr const char* kPlayerSwitches = " /play /close ";
inline constexpr const char* kChooseAnother = "You need to designate a different video player.";
} // namespace video_text

// The tutorial video beside the executable: its folder (without a trailing separator, as the
// platform gives it) and the separator and file name, with no correction at a root.
std::string tutorialVideoPath(const std::string& executableFolder, const PathRules& paths);

// Starts VideoPlayerPath on the video and returns without waiting for it: the quoted player,
// the player switches and the quoted video, minimized and active; a player whose path holds
// "wmplayer" is started twice, with the events processed once between. A missing video is
// reported and nothing else happens; no player, or one that does not start, is reported with
// the platform's description and the player selection window opens.
void PlayVideo(const AppState& state, const std::string& video, Platform& platform,
               ProgramStarter& programs, ModalWindows& windows);

} // namespace zembrel
