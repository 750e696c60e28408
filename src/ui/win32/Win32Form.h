#pragma once

#include "core/Form.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zembrel {

// The screen's dots per inch, as the program sees them (it is aware of the system's setting).
int systemDpi();

// Builds native controls from a form description into a window's client area and finds them
// again by their keys. Each control becomes a child window at its rectangle in pixels at the
// system's dots per inch: frames are group boxes under the controls they hold (which sit in the
// client area, at their place through the frame), option buttons choose one within their
// container, labels show their text as it stands. The Tab order is the keyboard order of the
// description; the form's picture lies under everything. Each menu becomes a pop-up of a menu
// bar, each entry an item with an id of its own.
class Win32Form {
public:
    Win32Form(const FormDescription& form, HWND window, int dpi);
    ~Win32Form();
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    const FormDescription& description() const { return m_form; }
    int pixels(int twips) const { return twipsToPixels(twips, m_dpi); }

    // The control of that key, or null; the key of a control id, or empty.
    HWND control(const std::string& key) const;
    std::string keyOf(int id) const;
    // The menu bar (null for a form without menus), the id of an entry, the name of an id.
    HMENU menuBar() const { return m_menuBar; }
    std::optional<UINT> menuId(const std::string& name) const;
    std::string menuNameOf(UINT id) const;
    // A control's tooltip as the tooltip window holds it.
    std::string tooltip(const std::string& key) const;
    // The default and the cancel button (Enter, Escape), or null.
    HWND defaultButton() const { return m_default; }
    HWND cancelButton() const { return m_cancel; }
    // The button that Enter presses: the focused one, else the default one, or null.
    HWND enterButton() const;
    // The key of the control that Enter clicks in the focused text box, or empty.
    std::string enterClicks() const;
    // True while an option button takes the focus: the click it then reports is none.
    bool takingFocus() const { return m_takingFocus; }

    // Gives the focus to the first control of the keyboard order that can take it.
    void focusFirst() const;
    // An option button was clicked: it is chosen, the others of its container are not.
    void choose(const std::string& key) const;
    // Draws what the window's controls leave to it: pictures and lines of a colour.
    std::optional<LRESULT> paintMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    HWND build(const ControlDescription& control, DWORD extraStyle, int id);
    HFONT fontOf(const ControlDescription& control);
    void buildMenus();
    void stack(const std::vector<HWND>& topFirst) const;
    void addTooltip(HWND control, const std::string& text);
    static LRESULT CALLBACK optionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    // The next option of the same container in keyboard order, round the ring.
    HWND nextOption(HWND option, bool back) const;
    // The description of a control of this form, or null.
    const ControlDescription* described(HWND hwnd) const;

    FormDescription m_form;
    HWND m_window;
    int m_dpi;
    HFONT m_font = nullptr;
    std::vector<HFONT> m_ownFonts;
    std::map<std::string, HWND> m_controls;
    std::map<int, std::string> m_keys;
    std::map<HWND, HBITMAP> m_pictures;
    std::map<HWND, COLORREF> m_colours;
    std::map<std::string, UINT> m_menuIds;
    HMENU m_menuBar = nullptr;
    HWND m_tooltips = nullptr;
    HWND m_default = nullptr;
    HWND m_cancel = nullptr;
    bool m_takingFocus = false;
};

} // namespace zembrel
