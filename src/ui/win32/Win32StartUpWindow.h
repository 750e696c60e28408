#pragma once

#include "shell/StartUpWindow.h"

#include <memory>

namespace zembrel {

class BusyPointer;
class Win32FrmSplash;
class Win32OpenProject;

// The start-up's window operations on the native windows. Ending the program destroys the main
// window and leaves a quit message for the program's message loop.
class Win32StartUpWindow final : public StartUpWindow {
public:
    // minimumSplashMs: how long the splash stays up at least, so that it can be read.
    Win32StartUpWindow(Win32OpenProject& main, BusyPointer& pointer, unsigned minimumSplashMs);
    ~Win32StartUpWindow() override;

    void showSplash() override;
    void closeSplash() override;
    void showMainWindow() override;
    void setMainInputEnabled(bool enabled) override;
    void endProgram() override;

    bool ended() const { return m_ended; }
    Win32FrmSplash* splash() const { return m_splash.get(); }

private:
    Win32OpenProject& m_main;
    BusyPointer& m_pointer;
    unsigned m_minimumSplashMs;
    std::unique_ptr<Win32FrmSplash> m_splash;
    unsigned long m_splashShown = 0;
    bool m_ended = false;
};

} // namespace zembrel
