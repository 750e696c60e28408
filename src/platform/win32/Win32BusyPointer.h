#pragma once

#include "platform/Ui.h"

namespace zembrel {

// The hourglass over every window of the program. Windows asks each window for its pointer as
// the mouse moves (WM_SETCURSOR); the program's windows answer with the busy pointer while
// active() holds. A pointer left busy is made normal again when its owner goes.
class Win32BusyPointer final : public BusyPointer {
public:
    Win32BusyPointer() = default;
    Win32BusyPointer(const Win32BusyPointer&) = delete;
    Win32BusyPointer& operator=(const Win32BusyPointer&) = delete;
    ~Win32BusyPointer() override;

    void setBusy(bool busy) override;
    // True while some pointer object is busy.
    static bool active();
    // Sets the pointer that active() asks for; for the windows' WM_SETCURSOR.
    static void apply();

private:
    bool m_busy = false;
};

} // namespace zembrel
