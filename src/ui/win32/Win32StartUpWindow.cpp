#include "ui/win32/Win32StartUpWindow.h"

#include "platform/Ui.h"
#include "platform/win32/Win32MessageLoop.h"
#include "ui/win32/Win32FrmSplash.h"
#include "ui/win32/Win32OpenProject.h"

namespace zembrel {

Win32StartUpWindow::Win32StartUpWindow(Win32OpenProject& main, BusyPointer& pointer,
                                       unsigned minimumSplashMs)
    : m_main(main), m_pointer(pointer), m_minimumSplashMs(minimumSplashMs) {}

Win32StartUpWindow::~Win32StartUpWindow() = default;

void Win32StartUpWindow::showSplash() {
    m_splash = std::make_unique<Win32FrmSplash>();
    m_splash->show();
    m_splashShown = GetTickCount();
}

void Win32StartUpWindow::closeSplash() {
    if (!m_splash)
        return;
    // The splash keeps painting while it waits; it takes no input, and no other window is up.
    while (!m_ended && GetTickCount() - m_splashShown < m_minimumSplashMs) {
        if (!runPendingMessages())
            break;
        Sleep(10);
    }
    m_splash.reset();
}

void Win32StartUpWindow::showMainWindow() {
    m_main.show();
}

void Win32StartUpWindow::setMainInputEnabled(bool enabled) {
    EnableWindow(m_main.handle(), enabled);
    if (enabled && GetActiveWindow() == m_main.handle() && !GetFocus())
        m_main.form().focusFirst();
}

void Win32StartUpWindow::endProgram() {
    m_ended = true;
    closeSplash();
    m_pointer.setBusy(false);
    if (m_main.handle())
        DestroyWindow(m_main.handle());
    PostQuitMessage(0);
}

} // namespace zembrel
