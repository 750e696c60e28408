#pragma once

#include "core/AppState.h"
#include "core/ModalWindows.h"
#include "media/PlayerRows.h"
#include "media/VideoPlayerSelection.h"

#include <QPointer>

#include <QWidget>
#include <functional>

namespace zembrel {

// The logic's modal windows as Qt dialogs, each built afresh at its opening, over the window
// given as their parent.
class QtModalWindows final : public ModalWindows {
public:
    // sysInfo is the About window's "&System Info..." command.
    QtModalWindows(AppState& state, PlayerRows players, VideoSetServices services,
                   std::function<void()> sysInfo)
        : m_state(state), m_players(std::move(players)), m_services(services),
          m_sysInfo(std::move(sysInfo)) {}
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void showVideoPlayerWindow() override;
    void showAboutWindow() override;

private:
    QWidget* parent() const {
        return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
    }

    AppState& m_state;
    PlayerRows m_players;
    VideoSetServices m_services;
    std::function<void()> m_sysInfo;
    QPointer<QWidget> m_parent;
};

} // namespace zembrel
