#include "ui/qt/QtModalWindows.h"

#include "ui/qt/FrmVideoSet.h"

namespace zembrel {

void QtModalWindows::showVideoPlayerWindow() {
    QWidget* parent = m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
    FrmVideoSet window(m_players, parent);
    VideoPlayerSelection selection(m_state, window, m_players, m_services);
    window.onChoice = [&selection](int option) { selection.choose(option); };
    selection.open();
    window.exec();
}

} // namespace zembrel
