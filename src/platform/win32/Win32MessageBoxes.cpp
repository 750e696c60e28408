#include "platform/win32/Win32MessageBoxes.h"

#include <windows.h>

namespace zembrel {

unsigned messageBoxStyle(MessageButtons buttons, MessageIcon icon) {
    unsigned style = buttons == MessageButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
    switch (icon) {
    case MessageIcon::Question: return style | MB_ICONQUESTION;
    case MessageIcon::Information: return style | MB_ICONINFORMATION;
    case MessageIcon::Exclamation: return style | MB_ICONEXCLAMATION;
    case MessageIcon::Critical: return style | MB_ICONSTOP;
    case MessageIcon::None: break;
    }
    return style;
}

MessageAnswer Win32MessageBoxes::show(const std::string& text, MessageButtons buttons,
                                      MessageIcon icon, const std::string& title) {
    const HWND owner = GetActiveWindow();
    unsigned style = messageBoxStyle(buttons, icon);
    if (!owner)
        style |= MB_TASKMODAL;
    const HWND covering = m_covering ? m_covering() : nullptr;
    const bool hidden = covering && ShowWindow(covering, SW_HIDE);
    const int pressed = MessageBoxA(owner, text.c_str(), title.c_str(), style);
    if (hidden)
        ShowWindow(covering, SW_SHOWNOACTIVATE);
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace zembrel
