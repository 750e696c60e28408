#include "platform/win32/Win32BusyPointer.h"

#include <windows.h>

#include <atomic>

namespace zembrel {

namespace {
// The pointer is one for the whole program, as the window system has it.
std::atomic<int> g_busyCount{0};
} // namespace

Win32BusyPointer::~Win32BusyPointer() {
    setBusy(false);
}

void Win32BusyPointer::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    g_busyCount += busy ? 1 : -1;
    apply();
}

bool Win32BusyPointer::active() {
    return g_busyCount > 0;
}

void Win32BusyPointer::apply() {
    SetCursor(LoadCursor(nullptr, active() ? IDC_WAIT : IDC_ARROW));
}

} // namespace zembrel
