#include "platform/win32/Win32MessageLoop.h"

namespace zembrel {

namespace {
constexpr const char* kDialogKeys = "ZembrelDialogKeys";
} // namespace

void enableDialogKeys(HWND window) {
    SetPropA(window, kDialogKeys, reinterpret_cast<HANDLE>(1));
}

void dispatchMessage(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && GetPropA(root, kDialogKeys) && IsDialogMessageA(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

bool runPendingMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatchMessage(message);
    }
    return true;
}

} // namespace zembrel
