#pragma once

#include "ui/win32/Win32Window.h"

namespace zembrel {

// The splash window, built from its description: borderless, centred on the screen, the picture
// at its top left and the version line; a message box shown meanwhile comes over it. It neither
// takes the focus nor reacts to the mouse or the keyboard.
class Win32FrmSplash final : public Win32Window {
public:
    Win32FrmSplash();
    // Shows it without making it active, painted at once.
    void show() const;
};

} // namespace zembrel
