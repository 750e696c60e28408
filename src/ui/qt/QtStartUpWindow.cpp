#include "ui/qt/QtStartUpWindow.h"

#include "platform/Ui.h"
#include "ui/qt/FrmSplash.h"
#include "ui/qt/OpenProject.h"

#include <QCoreApplication>
#include <QThread>

namespace zembrel {

QtStartUpWindow::QtStartUpWindow(OpenProject& main, BusyPointer& pointer, int minimumSplashMs)
    : m_main(main), m_pointer(pointer), m_minimumSplashMs(minimumSplashMs) {}

QtStartUpWindow::~QtStartUpWindow() = default;

void QtStartUpWindow::showSplash() {
    m_splash = std::make_unique<FrmSplash>();
    m_splash->show();
    // A newly shown window paints only when its events run; run them once so that it shows
    // while the start-up goes on. Input waits until the main window is there.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_splash->repaint();
    m_splashShown.start();
}

void QtStartUpWindow::closeSplash() {
    if (!m_splash)
        return;
    while (!m_ended && m_splashShown.elapsed() < m_minimumSplashMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
    m_splash->close();
    m_splash.reset();
}

void QtStartUpWindow::showMainWindow() {
    m_main.show();
    m_main.raise();
    m_main.activateWindow();
}

void QtStartUpWindow::setMainInputEnabled(bool enabled) {
    m_main.setEnabled(enabled);
    // Qt drops the focus of a disabled window: the keyboard order starts at Done again.
    if (enabled)
        m_main.focusFirstControl();
}

void QtStartUpWindow::endProgram() {
    m_ended = true;
    closeSplash();
    m_pointer.setBusy(false);
    m_main.close();
    QCoreApplication::exit(0);
}

} // namespace zembrel
