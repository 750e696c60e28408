#pragma once

#include "shell/StartUpWindow.h"

#include <QElapsedTimer>

#include <memory>

namespace zembrel {

class BusyPointer;
class FrmSplash;
class OpenProject;

// The start-up's window operations on the real windows.
class QtStartUpWindow final : public StartUpWindow {
public:
    // minimumSplashMs: how long the splash stays up at least, so that it can be read.
    QtStartUpWindow(OpenProject& main, BusyPointer& pointer, int minimumSplashMs);
    ~QtStartUpWindow() override;

    void showSplash() override;
    void closeSplash() override;
    void showMainWindow() override;
    void setMainInputEnabled(bool enabled) override;
    void endProgram() override;

    bool ended() const { return m_ended; }
    FrmSplash* splash() const { return m_splash.get(); }

private:
    OpenProject& m_main;
    BusyPointer& m_pointer;
    int m_minimumSplashMs;
    std::unique_ptr<FrmSplash> m_splash;
    QElapsedTimer m_splashShown;
    bool m_ended = false;
};

} // namespace zembrel
