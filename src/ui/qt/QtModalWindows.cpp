#include "ui/qt/QtModalWindows.h"

#include "ui/qt/AboutDialog.h"
#include "ui/qt/FrmVideoSet.h"

namespace zembrel {

void QtModalWindows::showVideoPlayerWindow() {
    FrmVideoSet window(m_players, parent());
    VideoPlayerSelection selection(m_state, window, m_players, m_services);
    window.onChoice = [&selection](int option) { selection.choose(option); };
    selection.open();
    window.exec();
}

void QtModalWindows::showAboutWindow() {
    AboutDialog about(m_sysInfo, parent());
    about.exec();
}

} // namespace zembrel
