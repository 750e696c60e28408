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
    // Ends the program: every window closes.
    virtual void endProgram() = 0;
};

} // namespace zembrel
