#include "ui/win32/Win32OpenProject.h"

#include "shell/MainCommands.h"
#include "shell/OpenProjectForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>

namespace zembrel {

namespace {

// A stored position may hold any number; the window system takes a sane pixel position.
int pixelPosition(float twips, int dpi) {
    if (std::isnan(twips))
        return 0;
    const double pixels = std::round(double(twips) * dpi / 1440.0);
    return static_cast<int>(std::clamp(pixels, -1.0e6, 1.0e6));
}

RECT frameOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame;
}

} // namespace

Win32OpenProject::Win32OpenProject() : Win32Window(openProjectForm(), nullptr) {
    const int dpi = systemDpi();
    m_progress = CreateWindowExA(
        0, PROGRESS_CLASSA, "", WS_CHILD, twipsToPixels(kProgressRect.left, dpi),
        twipsToPixels(kProgressRect.top, dpi), twipsToPixels(kProgressRect.width, dpi),
        twipsToPixels(kProgressRect.height, dpi), handle(), nullptr, GetModuleHandleA(nullptr),
        nullptr);
    SendMessageA(m_progress, PBM_SETRANGE32, 0, 1000);
}

void Win32OpenProject::attach(MainCommands& commands) {
    onCommand("cmdVideo", [&commands] { commands.playVideo(); });
    onCommand("cmdAgain", [&commands] { commands.startOver(); });
    onCommand("cmdPurge", [&commands] { commands.purge(); });
    onCommand("Cancel", [this] { close(); });
    onCommand("mnuFileExit", [this] { close(); });
    onCommand("mnuFileVersion", [&commands] { commands.showVersion(); });
    onCommand("mnuFileVideo", [&commands] { commands.chooseVideoPlayer(); });
    // The entry's check mark follows the switch, which the command sets.
    onCommand("mnuFileVoice", [&commands] { commands.toggleVoicePrompts(); });
    onCommand("mnuReset", [&commands] { commands.resetToDefaults(); });
    onCommand("mnuHelpContents", [&commands] { commands.showHelp(); });
    onCommand("nmuHelpAbout", [&commands] { commands.showAbout(); });
    // While an operation runs, what would change the current file is greyed.
    commands.onRunningChanged = [this](bool running) {
        m_running = running;
        m_runStart = GetTickCount64();
        ShowWindow(m_progress, SW_HIDE);
        EnableWindow(control("cmdAgain"), !running);
        enableMenuEntry("mnuReset", !running);
    };
    commands.setProgressListener(
        [this](std::uint64_t done, std::uint64_t total) { showProgress(done, total); });
    closeRequested = [&commands] { return commands.requestClose(); };
    m_dropped = [&commands](const std::string& path) { commands.chooseDroppedFile(path); };
    DragAcceptFiles(handle(), TRUE);
}

std::optional<LRESULT> Win32OpenProject::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_DROPFILES)
        return std::nullopt;
    const auto drop = reinterpret_cast<HDROP>(wParam);
    std::string path;
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        path.resize(DragQueryFileA(drop, 0, nullptr, 0));
        DragQueryFileA(drop, 0, path.data(), UINT(path.size() + 1));
    }
    DragFinish(drop); // the drop's memory goes before the survey runs its messages
    if (!path.empty() && m_dropped)
        m_dropped(path);
    return 0;
}

void Win32OpenProject::show() {
    ShowWindow(handle(), SW_SHOW);
    keepReachable();
    SetForegroundWindow(handle());
    form().focusFirst();
    UpdateWindow(handle());
}

void Win32OpenProject::setResults(const std::string& text) {
    setText("lblResults", text); // the label breaks its lines at CR LF itself
}

void Win32OpenProject::redrawResults() {
    RedrawWindow(control("lblResults"), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32OpenProject::setPurgeEnabled(bool enabled) {
    EnableWindow(control("cmdPurge"), enabled);
}

void Win32OpenProject::showProgress(std::uint64_t done, std::uint64_t total) {
    if (!m_running || total == 0 || GetTickCount64() - m_runStart < 500)
        return;
    ShowWindow(m_progress, SW_SHOWNA);
    SendMessageA(m_progress, PBM_SETPOS, WPARAM(std::min(done, total) * 1000 / total), 0);
}

void Win32OpenProject::setPurgeCaption(const std::string& caption) {
    setText("cmdPurge", caption);
}

void Win32OpenProject::setDoneEnabled(bool enabled) {
    EnableWindow(control("Cancel"), enabled);
}

void Win32OpenProject::setFileName(const std::string& name) {
    setText("txtFileName", name);
}

void Win32OpenProject::setPosition(float top, float left) {
    m_topTwips = top;
    m_leftTwips = left;
    const int dpi = systemDpi();
    SetWindowPos(handle(), nullptr, pixelPosition(left, dpi), pixelPosition(top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsWindowVisible(handle()))
        keepReachable();
}

float Win32OpenProject::top() const {
    const int dpi = systemDpi();
    const long y = frameOf(handle()).top;
    return y == pixelPosition(m_topTwips, dpi) ? m_topTwips : float(y * 1440 / dpi);
}

float Win32OpenProject::left() const {
    const int dpi = systemDpi();
    const long x = frameOf(handle()).left;
    return x == pixelPosition(m_leftTwips, dpi) ? m_leftTwips : float(x * 1440 / dpi);
}

void Win32OpenProject::setVoiceChecked(bool checked) {
    if (const auto id = form().menuId("mnuFileVoice"))
        CheckMenuItem(form().menuBar(), *id,
                      MF_BYCOMMAND | UINT(checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32OpenProject::enableMenuEntry(const char* name, bool enabled) const {
    if (const auto id = form().menuId(name))
        EnableMenuItem(form().menuBar(), *id,
                       MF_BYCOMMAND | UINT(enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32OpenProject::keepReachable() const {
    RECT frame = frameOf(handle());
    const RECT titleBar{frame.left, frame.top, frame.right,
                        std::min<LONG>(frame.bottom, frame.top + 30)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    RECT seen{};
    if (IntersectRect(&seen, &area, &titleBar) && seen.right - seen.left >= 40 &&
        seen.bottom - seen.top >= 10)
        return;
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    const LONG x = std::max(area.left, std::min(frame.left, area.right - width));
    const LONG y = std::max(area.top, std::min(frame.top, area.bottom - height));
    SetWindowPos(handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace zembrel
