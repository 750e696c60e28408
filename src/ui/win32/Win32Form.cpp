#include "ui/win32/Win32Form.h"

#include "ui/win32/Win32Pictures.h"

// windows.h (through the header) first: the other Windows headers need its types.
#include <commctrl.h>

#include <algorithm>

namespace zembrel {

namespace {

constexpr int kFirstControlId = 1000;
constexpr UINT kFirstMenuId = 2000;

struct NativeKind {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

NativeKind nativeKind(const ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::Button:
        return {WC_BUTTONA, DWORD(control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case ControlKind::TextBox:
        return {WC_EDITA, DWORD(ES_LEFT | ES_AUTOHSCROLL | (control.readOnly ? ES_READONLY : 0)),
                WS_EX_CLIENTEDGE};
    case ControlKind::OptionButton: return {WC_BUTTONA, BS_RADIOBUTTON, 0};
    case ControlKind::Frame: return {WC_BUTTONA, BS_GROUPBOX, 0};
    case ControlKind::Picture: return {WC_STATICA, SS_OWNERDRAW, 0};
    case ControlKind::Line:
        if (control.color)
            return {WC_STATICA, SS_OWNERDRAW, 0};
        return {WC_STATICA,
                DWORD(control.rect.width >= control.rect.height ? SS_ETCHEDHORZ : SS_ETCHEDVERT),
                0};
    case ControlKind::ProgressBar: return {PROGRESS_CLASSA, 0, 0};
    case ControlKind::Label: break;
    }
    // A label shows its text as it stands (no access key) and wraps it at its width.
    const DWORD edge = control.edge == LabelEdge::Sunken ? DWORD(SS_SUNKEN) : 0;
    const DWORD exEdge = control.edge == LabelEdge::Etched ? DWORD(WS_EX_STATICEDGE) : 0;
    return {WC_STATICA, SS_LEFT | SS_NOPREFIX | edge, exEdge};
}

constexpr UINT_PTR kOptionKeys = 1;

bool isArrow(WPARAM key) {
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
}

bool continuesOptionGroup(const ControlDescription* previous, const ControlDescription& control) {
    return previous && control.kind == ControlKind::OptionButton &&
           previous->kind == ControlKind::OptionButton && previous->container == control.container;
}

} // namespace

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

Win32Form::Win32Form(const FormDescription& form, HWND window, int dpi)
    : m_form(form), m_window(window), m_dpi(dpi) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        m_font = CreateFontIndirectA(&metrics.lfMessageFont);
    if (m_font)
        m_ownFonts.push_back(m_font);
    // Keyboard order first, then the rest from the top of the stack down: the Tab order of
    // native controls is their stacking order.
    std::vector<const ControlDescription*> topFirst = m_form.keyboardOrder();
    for (auto it = m_form.controls.rbegin(); it != m_form.controls.rend(); ++it)
        if (!it->tabIndex)
            topFirst.push_back(&*it);
    std::map<const ControlDescription*, DWORD> group;
    const ControlDescription* previous = nullptr;
    for (const ControlDescription* control : topFirst) {
        const bool tabbed = control->tabIndex.has_value();
        if (!tabbed ? (previous && previous->tabIndex) : !continuesOptionGroup(previous, *control))
            group[control] = WS_GROUP;
        if (tabbed)
            group[control] |= WS_TABSTOP;
        previous = control;
    }
    std::vector<HWND> stacked;
    for (std::size_t i = 0; i < m_form.controls.size(); ++i) {
        const ControlDescription& control = m_form.controls[i];
        build(control, group[&control], kFirstControlId + static_cast<int>(i));
    }
    for (const ControlDescription* control : topFirst)
        stacked.push_back(m_controls[control->key()]);
    if (!m_form.picture.empty()) {
        ControlDescription picture{.kind = ControlKind::Picture, .picture = m_form.picture};
        const HWND under = build(picture, 0, kFirstControlId - 1);
        BITMAP size{};
        GetObjectA(m_pictures[under], sizeof size, &size);
        SetWindowPos(under, nullptr, 0, 0, size.bmWidth, size.bmHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        stacked.push_back(under);
    }
    stack(stacked);
    buildMenus();
}

Win32Form::~Win32Form() {
    for (const auto& [control, bitmap] : m_pictures)
        DeleteObject(bitmap);
    for (HFONT font : m_ownFonts)
        DeleteObject(font);
    if (m_tooltips && IsWindow(m_tooltips))
        DestroyWindow(m_tooltips);
}

HWND Win32Form::build(const ControlDescription& control, DWORD extraStyle, int id) {
    const NativeKind native = nativeKind(control);
    const TwipRect rect = m_form.clientRect(control);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style | extraStyle;
    if (control.visible)
        style |= WS_VISIBLE;
    if (!control.enabled)
        style |= WS_DISABLED;
    const HWND hwnd = CreateWindowExA(
        native.exStyle, native.windowClass, control.caption.c_str(), style, pixels(rect.left),
        pixels(rect.top), pixels(rect.width), pixels(rect.height), m_window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    if (control.kind == ControlKind::Picture)
        m_pictures[hwnd] = loadPicture(control.picture);
    if (control.kind == ControlKind::ProgressBar)
        SendMessageA(hwnd, PBM_SETRANGE32, 0, 1000); // thousandths, as the logic gives them
    if (control.kind == ControlKind::Line && control.color) {
        const unsigned rgb = *control.color;
        m_colours[hwnd] = RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
    }
    if (control.isDefault)
        m_default = hwnd;
    if (control.isCancel)
        m_cancel = hwnd;
    if (!control.tooltip.empty())
        addTooltip(hwnd, control.tooltip);
    if (control.kind == ControlKind::OptionButton)
        SetWindowSubclass(hwnd, optionProc, kOptionKeys, reinterpret_cast<DWORD_PTR>(this));
    if (!control.name.empty()) {
        m_controls[control.key()] = hwnd;
        m_keys[id] = control.key();
    }
    return hwnd;
}

HFONT Win32Form::fontOf(const ControlDescription& control) {
    if (control.emphasis == FontEmphasis::Normal && control.fontPoints <= 0)
        return m_font;
    LOGFONTA font{};
    if (m_font)
        GetObjectA(m_font, sizeof font, &font);
    if (control.emphasis == FontEmphasis::Bold)
        font.lfWeight = FW_BOLD;
    if (control.fontPoints > 0)
        font.lfHeight = -static_cast<LONG>(control.fontPoints * m_dpi / 72.0 + 0.5);
    const HFONT own = CreateFontIndirectA(&font);
    m_ownFonts.push_back(own);
    return own;
}

void Win32Form::stack(const std::vector<HWND>& topFirst) const {
    HWND above = HWND_TOP;
    for (HWND control : topFirst) {
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
}

void Win32Form::addTooltip(HWND control, const std::string& text) {
    if (!m_tooltips)
        m_tooltips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    std::string copy = text; // the call copies it
    tool.lpszText = copy.data();
    SendMessageA(m_tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string Win32Form::tooltip(const std::string& key) const {
    const HWND hwnd = control(key);
    if (!m_tooltips || !hwnd)
        return {};
    char text[1024] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = text;
    SendMessageA(m_tooltips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

void Win32Form::buildMenus() {
    if (m_form.menus.empty())
        return;
    m_menuBar = CreateMenu();
    UINT id = kFirstMenuId;
    for (const MenuDescription& menu : m_form.menus) {
        const HMENU popup = CreatePopupMenu();
        for (const MenuEntry& entry : menu.entries) {
            AppendMenuA(popup, entry.separator ? MF_SEPARATOR : MF_STRING, id,
                        entry.separator ? nullptr : entry.caption.c_str());
            m_menuIds[entry.name] = id++;
        }
        AppendMenuA(m_menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                    menu.caption.c_str());
    }
}

HWND Win32Form::control(const std::string& key) const {
    const auto found = m_controls.find(key);
    return found == m_controls.end() ? nullptr : found->second;
}

std::string Win32Form::keyOf(int id) const {
    const auto found = m_keys.find(id);
    return found == m_keys.end() ? std::string() : found->second;
}

std::optional<UINT> Win32Form::menuId(const std::string& name) const {
    const auto found = m_menuIds.find(name);
    return found == m_menuIds.end() ? std::nullopt : std::optional<UINT>(found->second);
}

std::string Win32Form::menuNameOf(UINT id) const {
    for (const auto& [name, entry] : m_menuIds)
        if (entry == id)
            return name;
    return {};
}

void Win32Form::focusFirst() const {
    for (const ControlDescription* described : m_form.keyboardOrder()) {
        const HWND hwnd = control(described->key());
        if (hwnd && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd)) {
            SetFocus(hwnd);
            return;
        }
    }
}

// The arrow keys move the focus around the options of a container, in keyboard order, and choose
// nothing; a radio button that takes the focus tells its window it was clicked, which the window
// ignores while takingFocus() says so.
LRESULT CALLBACK Win32Form::optionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32Form*>(data);
    switch (message) {
    case WM_GETDLGCODE: return DefSubclassProc(option, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (!isArrow(wParam))
            break;
        if (const HWND next = self->nextOption(option, wParam == VK_UP || wParam == VK_LEFT))
            SetFocus(next);
        return 0;
    case WM_SETFOCUS: {
        self->m_takingFocus = true;
        const LRESULT result = DefSubclassProc(option, message, wParam, lParam);
        self->m_takingFocus = false;
        return result;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(option, optionProc, kOptionKeys); break;
    default: break;
    }
    return DefSubclassProc(option, message, wParam, lParam);
}

HWND Win32Form::nextOption(HWND option, bool back) const {
    const ControlDescription* from = described(option);
    return from ? control(m_form.nextOption(*from, back).key()) : nullptr;
}

const ControlDescription* Win32Form::described(HWND hwnd) const {
    if (!hwnd || GetParent(hwnd) != m_window)
        return nullptr;
    return m_form.find(keyOf(GetDlgCtrlID(hwnd)));
}

HWND Win32Form::enterButton() const {
    const HWND focus = GetFocus();
    const ControlDescription* focused = described(focus);
    if (focused && focused->kind == ControlKind::Button && IsWindowEnabled(focus))
        return focus;
    return m_default;
}

std::string Win32Form::enterClicks() const {
    const ControlDescription* focused = described(GetFocus());
    return focused ? focused->enterClicks : std::string();
}

void Win32Form::choose(const std::string& key) const {
    const ControlDescription* chosen = m_form.find(key);
    if (!chosen || chosen->kind != ControlKind::OptionButton)
        return;
    for (const ControlDescription& other : m_form.controls)
        if (other.kind == ControlKind::OptionButton && other.container == chosen->container)
            SendMessageA(control(other.key()), BM_SETCHECK,
                         other.key() == key ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::optional<LRESULT> Win32Form::paintMessage(UINT message, WPARAM, LPARAM lParam) const {
    if (message != WM_DRAWITEM)
        return std::nullopt;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (const auto picture = m_pictures.find(item->hwndItem); picture != m_pictures.end()) {
        drawPicture(item->hDC, item->rcItem, picture->second);
        return TRUE;
    }
    if (const auto colour = m_colours.find(item->hwndItem); colour != m_colours.end()) {
        const HBRUSH brush = CreateSolidBrush(colour->second);
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    return std::nullopt;
}

} // namespace zembrel
