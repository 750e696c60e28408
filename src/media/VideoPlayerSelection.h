#pragma once

#include "core/AppState.h"
#include "media/PlayerRows.h"
#include "media/VideoSetSurface.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "platform/Ui.h"

#include <utility>

namespace zembrel {

// The services the choice of the video player uses. The referenced objects outlive it.
struct VideoSetServices {
    FileSystem& files;
    FileDialog& dialog;
    ProfileStore& profile;
    EventPump& events;
};

namespace video_set_text {
inline constexpr const char* kDialogTitle = "Locate and Click on the video player program";
} // namespace video_set_text

// The logic of frmVideoSet, for one opening of the window: VideoPlayerPath into the text box of
// its row, and each choice of an option into VideoPlayerPath and VIDEO_PLAYER.
class VideoPlayerSelection {
public:
    VideoPlayerSelection(AppState& state, VideoSetSurface& window, PlayerRows players,
                         VideoSetServices services)
        : m_state(state), m_window(window), m_players(std::move(players)), m_services(services) {}

    // Shows VideoPlayerPath in the text box of its row, chosen by how the path ends; an empty
    // path shows nothing. Nothing is chosen and nothing is written.
    void open();
    // Option 0 ("none") empties VideoPlayerPath; option 1, 2 or 3 takes the row's text box, or
    // its default location when the box is empty, and looks for the player with the file
    // dialog when that names no file. Every choice writes VIDEO_PLAYER and lets the window
    // process its events once. A cancelled dialog chooses no player.
    void choose(int option);

private:
    std::string browse(const PlayerRow& row);

    AppState& m_state;
    VideoSetSurface& m_window;
    PlayerRows m_players;
    VideoSetServices m_services;
};

} // namespace zembrel
