#include "ui/win32/Win32ModalWindows.h"

#include "ui/win32/Win32AboutWindow.h"
#include "ui/win32/Win32FrmVideoSet.h"

namespace zembrel {

HWND Win32ModalWindows::owner() const {
    const HWND window = m_owner ? m_owner() : nullptr;
    return window && IsWindowVisible(window) ? window : nullptr;
}

void Win32ModalWindows::showVideoPlayerWindow() {
    Win32FrmVideoSet window(m_players, owner());
    VideoPlayerSelection selection(m_state, window, m_players, m_services);
    window.onChoice = [&selection](int option) { selection.choose(option); };
    selection.open();
    window.runModal();
}

void Win32ModalWindows::showAboutWindow() {
    Win32AboutWindow about(m_sysInfo, owner());
    about.runModal();
}

} // namespace zembrel
