#pragma once

#include "platform/Ui.h"

namespace zembrel {

// The MessageBoxA style (MB_...) of a box: its buttons, Yes as the default button of Yes and No,
// its icon.
unsigned messageBoxStyle(MessageButtons buttons, MessageIcon icon);

// Modal message boxes through MessageBoxA, over the program's active window; with none (while
// the start-up has shown no window yet) over every window of the program.
class Win32MessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::string& title) override;
};

} // namespace zembrel
