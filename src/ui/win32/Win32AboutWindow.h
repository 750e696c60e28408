#pragma once

#include "core/FormSurface.h"
#include "ui/win32/Win32Window.h"

#include <functional>

namespace zembrel {

// frmAbout, built from its description: OK closes it (Enter, Escape and the close box too),
// "&System Info..." runs sysInfo.
class Win32AboutWindow final : public Win32Window, public FormSurface {
public:
    Win32AboutWindow(std::function<void()> sysInfo, HWND owner);

    void setCaption(const std::string& caption) override;
    void setText(const std::string& key, const std::string& text) override;
    std::string text(const std::string& key) const override;
};

} // namespace zembrel
