#pragma once

#include "core/AppState.h"
#include "core/ModalWindows.h"
#include "media/PlayerRows.h"
#include "media/VideoPlayerSelection.h"

#include <windows.h>

#include <functional>

namespace zembrel {

// The logic's modal windows as native windows, each built afresh at its opening, over the
// window that owner gives (the main window once it is shown).
class Win32ModalWindows final : public ModalWindows {
public:
    // sysInfo is the About window's "&System Info..." command.
    Win32ModalWindows(AppState& state, PlayerRows players, VideoSetServices services,
                      std::function<void()> sysInfo)
        : m_state(state), m_players(std::move(players)), m_services(services),
          m_sysInfo(std::move(sysInfo)) {}
    void setOwner(std::function<HWND()> owner) { m_owner = std::move(owner); }

    void showVideoPlayerWindow() override;
    void showAboutWindow() override;

private:
    HWND owner() const;

    AppState& m_state;
    PlayerRows m_players;
    VideoSetServices m_services;
    std::function<void()> m_sysInfo;
    std::function<HWND()> m_owner;
};

} // namespace zembrel
