#pragma once

#include "ui/win32/Win32Form.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace zembrel {

// A top-level window built from a form description: its border style, its caption, its client
// area of the described size at the system's dots per inch (below the menu bar), its controls
// and menus. A click of a button or option, and the choice of a menu entry, run the command set
// for its name; Enter presses the focused button, else the default one, and in a text box clicks
// what the box names; Escape presses the cancel button. The window is hidden
// until shown, and destroyed with the object at the latest.
class Win32Window {
public:
    Win32Window(const FormDescription& form, HWND owner);
    virtual ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND handle() const { return m_window; }
    const Win32Form& form() const { return *m_form; }
    HWND control(const std::string& key) const { return m_form->control(key); }
    std::string text(const std::string& key) const;
    void setText(const std::string& key, const std::string& text) const;

    // The command of a control key ("cmdOK", "Option1(2)") or a menu entry name.
    void onCommand(const std::string& name, std::function<void()> command);
    // Runs the window modally, centred over its owner, which takes no input meanwhile, until it
    // closes.
    void runModal();
    // Asks the window to close, as its close box does.
    void close() const;
    // Decides whether the window may close; true unless a derived window says otherwise.
    std::function<bool()> closeRequested;

protected:
    // Messages a derived window handles before the common ones; none by default.
    virtual std::optional<LRESULT> handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Shows the window, and gives the focus to its first control without running commands.
    void showAndFocus(int showCommand);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(WPARAM wParam, LPARAM lParam);
    void fitClientArea(const FormDescription& form) const;
    void centreOverOwner() const;

    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    std::unique_ptr<Win32Form> m_form;
    std::map<std::string, std::function<void()>> m_commands;
    bool m_quiet = false; // focus moves that are not the user's run no command
    bool m_modal = false;
    bool m_closed = false;
};

} // namespace zembrel
