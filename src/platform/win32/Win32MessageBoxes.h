#pragma once

#include "platform/Ui.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace zembrel {

// The MessageBoxA style (MB_...) of a box: its buttons, Yes as the default button of Yes and No,
// its icon.
unsigned messageBoxStyle(MessageButtons buttons, MessageIcon icon);

// Modal message boxes through MessageBoxA, over the program's active window; with none (while
// the start-up has shown no window yet) over every window of the program.
class Win32MessageBoxes final : public MessageBoxes {
public:
    // A window that a box must never lie beneath (the splash, while the start-up runs): hidden
    // while a box is up and shown again after it. A window system may keep a borderless window
    // above every managed one, whatever the order of the windows says.
    void setCovering(std::function<HWND()> window) { m_covering = std::move(window); }

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::string& title) override;

private:
    std::function<HWND()> m_covering;
};

} // namespace zembrel
