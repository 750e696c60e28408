#include "ui/win32/Win32OpenProject.h"

#include "shell/MainCommands.h"
#include "shell/OpenProjectForm.h"
#include "shell/WindowPlacement.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>

namespace zembrel {

namespace {

RECT frameOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame;
}

} // namespace

Win32OpenProject::Win32OpenProject() : Win32Window(openProjectForm(), nullptr) {}

// Every control and menu entry that runs a command forwards to it by its name.
void Win32OpenProject::attach(MainCommands& commands) {
    m_commands = &commands;
    for (const std::string_view name : MainCommands::commandNames()) {
        const std::string key(name);
        onCommand(key, [&commands, key] { commands.invoke(key); });
    }
    closeRequested = [&commands] { return commands.requestClose(); };
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
    if (!path.empty() && m_commands)
        m_commands->chooseDroppedFile(path);
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

void Win32OpenProject::setControlEnabled(std::string_view name, bool enabled) {
    const std::string key(name);
    if (const HWND c = control(key))
        EnableWindow(c, enabled);
    else if (const auto id = form().menuId(key))
        EnableMenuItem(form().menuBar(), *id,
                       MF_BYCOMMAND | UINT(enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32OpenProject::setProgress(std::optional<int> thousandths) {
    const HWND bar = progressBar();
    ShowWindow(bar, thousandths ? SW_SHOWNA : SW_HIDE);
    if (thousandths)
        SendMessageA(bar, PBM_SETPOS, WPARAM(*thousandths), 0);
}

void Win32OpenProject::setPurgeCaption(const std::string& caption) {
    setText("cmdPurge", caption);
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
    return positionTwips(frameOf(handle()).top, m_topTwips, systemDpi());
}

float Win32OpenProject::left() const {
    return positionTwips(frameOf(handle()).left, m_leftTwips, systemDpi());
}

void Win32OpenProject::setVoiceChecked(bool checked) {
    if (const auto id = form().menuId("mnuFileVoice"))
        CheckMenuItem(form().menuBar(), *id,
                      MF_BYCOMMAND | UINT(checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32OpenProject::keepReachable() const {
    const RECT frame = frameOf(handle());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    const auto moved = keepTitleBarOnScreen(
        {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
        {{area.left, area.top, area.right - area.left, area.bottom - area.top}});
    if (moved)
        SetWindowPos(handle(), nullptr, moved->x, moved->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace zembrel
