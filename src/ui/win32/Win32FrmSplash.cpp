#include "ui/win32/Win32FrmSplash.h"

#include "info/FrmSplashForm.h"

namespace zembrel {

Win32FrmSplash::Win32FrmSplash() : Win32Window(frmSplashForm(), nullptr) {
    const HWND window = handle();
    // Not above every window: a message box of the start-up, which no window owns yet, must
    // come over it.
    SetWindowLongPtrA(window, GWL_EXSTYLE,
                      GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    EnableWindow(window, FALSE); // no mouse, no keyboard
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32FrmSplash::show() const {
    ShowWindow(handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(handle());
}

} // namespace zembrel
