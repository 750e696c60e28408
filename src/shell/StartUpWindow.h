#pragma once

namespace zembrel {

// The window operations that start-up and shut-down need beyond the main window's surface.
class StartUpWindow {
public:
    virtual ~StartUpWindow() = default;
    // Shows the splash window without waiting for it.
    virtual void showSplash() = 0;
    virtual void closeSplash() = 0;
    // Shows the main window without waiting for it.
    virtual void showMainWindow() = 0;
    // Lets the user work in the main window, or not.
    virtual void setMainInputEnabled(bool enabled) = 0;
    // The application-wide pointer: busy (hourglass) or normal.
    virtual void setBusyPointer(bool busy) = 0;
    // Processes the pending window events once, however recently that was done.
    virtual void processEvents() = 0;
    // Ends the program: every window closes.
    virtual void endProgram() = 0;
};

} // namespace zembrel
