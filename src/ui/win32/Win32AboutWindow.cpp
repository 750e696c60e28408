#include "ui/win32/Win32AboutWindow.h"

#include "info/FrmAbout.h"

namespace zembrel {

Win32AboutWindow::Win32AboutWindow(std::function<void()> sysInfo, HWND owner)
    : Win32Window(frmAboutForm(), owner) {
    onCommand("cmdOK", [this] { close(); });
    onCommand("cmdSysInfo", [sysInfo = std::move(sysInfo)] { sysInfo(); });
    OpenAbout(*this);
}

void Win32AboutWindow::setCaption(const std::string& caption) {
    SetWindowTextA(handle(), caption.c_str());
}

void Win32AboutWindow::setText(const std::string& key, const std::string& text) {
    Win32Window::setText(key, text);
}

std::string Win32AboutWindow::text(const std::string& key) const {
    return Win32Window::text(key);
}

} // namespace zembrel
