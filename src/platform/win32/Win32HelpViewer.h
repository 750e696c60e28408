#pragma once

#include "platform/HelpViewer.h"

#include <functional>
#include <utility>

namespace zembrel {

// The HTML Help viewer of hhctrl.ocx, owned by the main window. The library is loaded when help
// is first asked for, so the program needs no import library for it.
class Win32HelpViewer final : public HelpViewer {
public:
    // owner gives the main window's handle (HWND) at the time help is asked for.
    explicit Win32HelpViewer(std::function<void*()> owner) : m_owner(std::move(owner)) {}
    void showContents(const std::string& helpFile) override;
    // Closes every viewer window that was opened; the program does so before it ends, since
    // the viewer's windows live in its process.
    void closeAll();

private:
    std::function<void*()> m_owner;
    bool m_used = false;
};

} // namespace zembrel
