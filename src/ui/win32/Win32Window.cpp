#include "ui/win32/Win32Window.h"

#include "platform/win32/Win32BusyPointer.h"
#include "platform/win32/Win32MessageLoop.h"

#include <algorithm>
#include <vector>

namespace zembrel {

namespace {

constexpr const char* kWindowClass = "ZembrelPOBSForm";
constexpr int kProductIcon = 1; // the icon resource of the .rc file

struct Styles {
    DWORD style;
    DWORD exStyle;
};

Styles stylesOf(const FormDescription& form) {
    const DWORD resizing = form.fixedSize ? 0 : WS_THICKFRAME | WS_MAXIMIZEBOX;
    switch (form.border) {
    case BorderStyle::Single:
        return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | resizing, 0};
    case BorderStyle::Dialog:
        return {WS_POPUP | WS_CAPTION | WS_SYSMENU | resizing, WS_EX_DLGMODALFRAME};
    case BorderStyle::None: break;
    }
    return {WS_POPUP, 0};
}

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA; // each window sets its own on creation
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(kProductIcon));
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}

std::string windowText(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

} // namespace

Win32Window::Win32Window(const FormDescription& form, HWND owner) : m_owner(owner) {
    registerClass();
    const Styles styles = stylesOf(form);
    // Not WS_CLIPCHILDREN: a frame (group box) paints only its edge, the window the rest.
    m_window = CreateWindowExA(styles.exStyle, kWindowClass, form.caption.c_str(), styles.style,
                               CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
    m_form = std::make_unique<Win32Form>(form, m_window, systemDpi());
    if (m_form->menuBar())
        SetMenu(m_window, m_form->menuBar()); // the window owns it from here on
    fitClientArea(form);
    enableDialogKeys(m_window);
}

Win32Window::~Win32Window() {
    if (m_window && IsWindow(m_window)) {
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

void Win32Window::fitClientArea(const FormDescription& form) const {
    const int width = m_form->pixels(form.clientWidth);
    const int height = m_form->pixels(form.clientHeight);
    RECT outer{}, client{};
    // Twice: a menu bar may wrap onto a second line at the first width.
    for (int pass = 0; pass < 2; ++pass) {
        GetWindowRect(m_window, &outer);
        GetClientRect(m_window, &client);
        SetWindowPos(m_window, nullptr, 0, 0, (outer.right - outer.left) - client.right + width,
                     (outer.bottom - outer.top) - client.bottom + height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::string Win32Window::text(const std::string& key) const {
    const HWND hwnd = control(key);
    return hwnd ? windowText(hwnd) : std::string();
}

void Win32Window::setText(const std::string& key, const std::string& text) const {
    if (const HWND hwnd = control(key))
        SetWindowTextA(hwnd, text.c_str());
}

void Win32Window::onCommand(const std::string& name, std::function<void()> command) {
    m_commands[name] = std::move(command);
}

void Win32Window::close() const {
    if (m_window && IsWindow(m_window))
        SendMessageA(m_window, WM_CLOSE, 0, 0);
}

void Win32Window::showAndFocus(int showCommand) {
    ShowWindow(m_window, showCommand);
    m_quiet = true;
    m_form->focusFirst();
    m_quiet = false;
    UpdateWindow(m_window);
}

void Win32Window::runModal() {
    const bool ownerEnabled = m_owner && IsWindowEnabled(m_owner);
    if (ownerEnabled)
        EnableWindow(m_owner, FALSE);
    m_modal = true;
    m_closed = false;
    centreOverOwner();
    showAndFocus(SW_SHOW);
    MSG message{};
    while (!m_closed && IsWindow(m_window)) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // for the program's own loop
            break;
        }
        if (got < 0)
            break;
        dispatchMessage(message);
    }
    m_modal = false;
    // The owner takes its input back before this window goes, so that it becomes active.
    if (ownerEnabled)
        EnableWindow(m_owner, TRUE);
    if (IsWindow(m_window))
        ShowWindow(m_window, SW_HIDE);
}

void Win32Window::centreOverOwner() const {
    RECT owner{}, own{};
    if (!m_owner || !GetWindowRect(m_owner, &owner) || !GetWindowRect(m_window, &own))
        return;
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = (owner.left + owner.right - width) / 2;
    LONG y = (owner.top + owner.bottom - height) / 2;
    // On the owner's screen, title bar first where the window is larger than the screen.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromWindow(m_owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& area = monitor.rcWork;
        x = std::max(area.left, std::min(x, area.right - width));
        y = std::max(area.top, std::min(y, area.bottom - height));
    }
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> Win32Window::handleMessage(UINT, WPARAM, LPARAM) {
    return std::nullopt;
}

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto handled = handleMessage(message, wParam, lParam))
        return *handled;
    if (const auto painted = m_form->paintMessage(message, wParam, lParam))
        return *painted;
    switch (message) {
    case WM_COMMAND: command(wParam, lParam); return 0;
    case DM_GETDEFID: // Enter presses the focused button, else the default one
        if (const HWND button = m_form->enterButton())
            return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
        return 0;
    case WM_SETCURSOR:
        if (Win32BusyPointer::active()) {
            Win32BusyPointer::apply();
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (!closeRequested || closeRequested()) {
            if (m_modal)
                m_closed = true; // the modal loop ends, gives the owner its input back, hides it
            else
                DestroyWindow(m_window);
        }
        return 0;
    case WM_NCDESTROY: {
        const HWND window = m_window;
        m_window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    default: break;
    }
    return DefWindowProcA(m_window, message, wParam, lParam);
}

void Win32Window::command(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    std::string name;
    if (id == IDCANCEL || id == IDOK) {
        // Escape presses the cancel button, when it can be pressed; Enter without a button to
        // press clicks what the focused text box names, if anything.
        const HWND cancel = m_form->cancelButton();
        if (id == IDCANCEL && cancel && IsWindowEnabled(cancel))
            name = m_form->keyOf(GetDlgCtrlID(cancel));
        if (id == IDOK) {
            name = m_form->enterClicks();
            m_form->choose(name);
        }
    } else if (HIWORD(wParam) == BN_CLICKED && m_form->takingFocus()) {
        return; // an option that takes the focus is not chosen
    } else if (lParam == 0 && HIWORD(wParam) == 0) {
        name = m_form->menuNameOf(static_cast<UINT>(id));
    } else if (HIWORD(wParam) == BN_CLICKED) {
        name = m_form->keyOf(id);
        m_form->choose(name);
    }
    if (m_quiet || name.empty())
        return;
    if (const auto found = m_commands.find(name); found != m_commands.end() && found->second)
        found->second();
}

} // namespace zembrel
