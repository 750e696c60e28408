#include "ui/win32/Win32FrmVideoSet.h"

#include "media/FrmVideoSetForm.h"

namespace zembrel {

Win32FrmVideoSet::Win32FrmVideoSet(const PlayerRows& players, HWND owner)
    : Win32Window(frmVideoSetForm(players), owner) {
    for (int option = 0; option <= 3; ++option)
        onCommand("Option1(" + std::to_string(option) + ")", [this, option] {
            if (onChoice)
                onChoice(option);
        });
    onCommand("cmdExit", [this] { close(); });
}

std::string Win32FrmVideoSet::rowText(int option) const {
    return text(textBoxOfRow(option));
}

void Win32FrmVideoSet::setRowText(int option, const std::string& text) {
    setText(textBoxOfRow(option), text);
}

std::optional<LRESULT> Win32FrmVideoSet::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    // The window has no cancel button; Escape closes it all the same.
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL)
        return std::nullopt;
    close();
    return 0;
}

} // namespace zembrel
