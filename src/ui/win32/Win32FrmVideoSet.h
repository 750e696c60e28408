#pragma once

#include "media/PlayerRows.h"
#include "media/VideoSetSurface.h"
#include "ui/win32/Win32Window.h"

#include <functional>

namespace zembrel {

// The video player selection window, built from its description. A click on an option (by
// mouse, Space or access key), or Enter in its row's text box, tells onChoice its index, also
// when it is already chosen, so that a path typed since is taken; the arrow keys and Tab only
// move the focus, and opening the window chooses nothing. "&Exit", the close box and Escape
// close it.
class Win32FrmVideoSet final : public Win32Window, public VideoSetSurface {
public:
    Win32FrmVideoSet(const PlayerRows& players, HWND owner);

    std::function<void(int option)> onChoice;

    std::string rowText(int option) const override;
    void setRowText(int option, const std::string& text) override;

protected:
    std::optional<LRESULT> handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace zembrel
