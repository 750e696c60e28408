#pragma once

#include "core/AppState.h"
#include "core/ModalWindows.h"
#include "media/PlayerRows.h"
#include "media/VideoPlayerSelection.h"

#include <QPointer>
#include <QWidget>

namespace zembrel {

// The logic's modal windows as Qt dialogs, each built afresh at its opening, over the window
// given as their parent.
class QtModalWindows final : public ModalWindows {
public:
    QtModalWindows(AppState& state, PlayerRows players, VideoSetServices services)
        : m_state(state), m_players(std::move(players)), m_services(services) {}
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void showVideoPlayerWindow() override;

private:
    AppState& m_state;
    PlayerRows m_players;
    VideoSetServices m_services;
    QPointer<QWidget> m_parent;
};

} // namespace zembrel
