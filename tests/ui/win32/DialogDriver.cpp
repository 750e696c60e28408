#include "DialogDriver.h"

#include <chrono>

namespace zembrel::test {

namespace {

// The name box of the open-file dialog: cmb13 in the explorer style, edt1 in the old one.
HWND fileNameBox(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, 0x47C);
    return combo ? combo : GetDlgItem(dialog, 0x480);
}

std::string textOf(HWND window) {
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK collectDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        className(window) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// A message box's text: that of its static controls that hold text (the icon holds none).
BOOL CALLBACK collectText(HWND child, LPARAM text) {
    if (className(child) == "Static")
        *reinterpret_cast<std::string*>(text) += textOf(child);
    return TRUE;
}

// Whether another visible window of this process overlaps the window, above it or below: a window
// system may keep a borderless window (the splash) above the managed ones whatever the order.
struct Overlap {
    HWND window;
    RECT rect;
    bool found;
};

BOOL CALLBACK findOverlap(HWND other, LPARAM data) {
    auto* overlap = reinterpret_cast<Overlap*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(other, &process);
    RECT rect{}, common{};
    if (other != overlap->window && process == GetCurrentProcessId() && IsWindowVisible(other) &&
        GetWindowRect(other, &rect) && IntersectRect(&common, &rect, &overlap->rect))
        overlap->found = true;
    return !overlap->found;
}

bool overlapped(HWND window) {
    Overlap overlap{window, {}, false};
    GetWindowRect(window, &overlap.rect);
    EnumWindows(findOverlap, reinterpret_cast<LPARAM>(&overlap));
    return overlap.found;
}

} // namespace

DialogDriver::DialogDriver(std::deque<std::string> paths) : m_paths(std::move(paths)) {
    m_thread = std::thread([this] {
        while (!m_stop) {
            std::vector<HWND> dialogs;
            EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
            for (HWND dialog : dialogs)
                answer(dialog);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
}

DialogDriver::~DialogDriver() {
    m_stop = true;
    m_thread.join();
}

std::vector<std::string> DialogDriver::messages() const {
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<std::string> DialogDriver::overlappedMessages() const {
    const std::lock_guard lock(m_mutex);
    return m_overlapped;
}

void DialogDriver::answer(HWND dialog) {
    const std::lock_guard lock(m_mutex);
    if (!m_answered.insert(dialog).second)
        return;
    if (const HWND name = fileNameBox(dialog)) {
        ++m_fileDialogs;
        const std::string path = m_paths.empty() ? std::string() : m_paths.front();
        if (!m_paths.empty())
            m_paths.pop_front();
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
        return;
    }
    std::string text;
    EnumChildWindows(dialog, collectText, reinterpret_cast<LPARAM>(&text));
    m_messages.push_back(text);
    if (overlapped(dialog))
        m_overlapped.push_back(text);
    const LRESULT byDefault = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    const WORD button = HIWORD(byDefault) == DC_HASDEFID ? LOWORD(byDefault) : IDOK;
    PostMessageA(dialog, WM_COMMAND, button, 0);
}

} // namespace zembrel::test
