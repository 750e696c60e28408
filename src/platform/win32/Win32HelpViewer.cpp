#include "platform/win32/Win32HelpViewer.h"

#include <windows.h>

namespace zembrel {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayToc = 0x0001; // HH_DISPLAY_TOC
constexpr UINT kCloseAll = 0x0012;   // HH_CLOSE_ALL

HtmlHelpFunction htmlHelp() {
    // Loaded once and kept for the program's life: the viewer window lives in this library.
    static const HtmlHelpFunction function = [] {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        if (!library)
            return HtmlHelpFunction{};
        return reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")));
    }();
    return function;
}

} // namespace

void Win32HelpViewer::showContents(const std::string& helpFile) {
    m_used = true;
    if (const HtmlHelpFunction function = htmlHelp())
        function(static_cast<HWND>(m_owner ? m_owner() : nullptr), helpFile.c_str(), kDisplayToc,
                 0);
}

void Win32HelpViewer::closeAll() {
    if (!m_used)
        return;
    if (const HtmlHelpFunction function = htmlHelp())
        function(nullptr, nullptr, kCloseAll, 0);
}

} // namespace zembrel
