// The four windows as the native renderer builds them, checked against their descriptions.
#include "info/FrmAbout.h"
#include "info/FrmSplashForm.h"
#include "media/FrmVideoSetForm.h"
#include "platform/win32/Win32MessageLoop.h"
#include "shell/OpenProjectForm.h"
#include "ui/win32/Win32AboutWindow.h"
#include "ui/win32/Win32FrmSplash.h"
#include "ui/win32/Win32FrmVideoSet.h"
#include "ui/win32/Win32OpenProject.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

namespace zembrel {
namespace {

struct Rendered {
    const char* name;
    FormDescription (*form)();
    std::unique_ptr<Win32Window> (*build)();
};

void PrintTo(const Rendered& rendered, std::ostream* out) {
    *out << rendered.name;
}

const Rendered kWindows[] = {
    {"OpenProject", [] { return openProjectForm(); },
     []() -> std::unique_ptr<Win32Window> { return std::make_unique<Win32OpenProject>(); }},
    {"frmSplash", [] { return frmSplashForm(); },
     []() -> std::unique_ptr<Win32Window> { return std::make_unique<Win32FrmSplash>(); }},
    {"frmAbout", [] { return frmAboutForm(); },
     []() -> std::unique_ptr<Win32Window> {
         return std::make_unique<Win32AboutWindow>([] {}, nullptr);
     }},
    {"frmVideoSet", [] { return frmVideoSetForm(PlayerRows::windows()); },
     []() -> std::unique_ptr<Win32Window> {
         return std::make_unique<Win32FrmVideoSet>(PlayerRows::windows(), nullptr);
     }},
};

class Win32WindowsTest : public ::testing::TestWithParam<Rendered> {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }

    RECT clientRectOf(HWND control) const {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window->handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    const FormDescription form = GetParam().form();
    const std::unique_ptr<Win32Window> window = GetParam().build();
    const int dpi = systemDpi();
};

TEST_P(Win32WindowsTest, EachControlIsAtItsTwipRectangleWithItsCaption) {
    for (const ControlDescription& described : form.controls) {
        SCOPED_TRACE(described.key());
        const HWND control = window->control(described.key());
        ASSERT_NE(control, nullptr);
        const TwipRect twips = form.clientRect(described);
        const RECT rect = clientRectOf(control);
        EXPECT_EQ(rect.left, twipsToPixels(twips.left, dpi));
        EXPECT_EQ(rect.top, twipsToPixels(twips.top, dpi));
        EXPECT_EQ(rect.right - rect.left, twipsToPixels(twips.width, dpi));
        EXPECT_EQ(rect.bottom - rect.top, twipsToPixels(twips.height, dpi));
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, described.enabled);
        // Button, option and frame captions stand as described, access keys included.
        if (described.kind == ControlKind::Button || described.kind == ControlKind::OptionButton ||
            described.kind == ControlKind::Frame) {
            EXPECT_EQ(window->text(described.key()), described.caption);
        }
        if (!described.tooltip.empty()) {
            EXPECT_EQ(window->form().tooltip(described.key()), described.tooltip);
        }
        if (described.kind == ControlKind::TextBox) {
            EXPECT_EQ((GetWindowLongA(control, GWL_STYLE) & ES_READONLY) != 0, described.readOnly);
        }
    }
    RECT client{};
    GetClientRect(window->handle(), &client);
    EXPECT_EQ(client.right, twipsToPixels(form.clientWidth, dpi));
    EXPECT_EQ(client.bottom, twipsToPixels(form.clientHeight, dpi));
}

TEST_P(Win32WindowsTest, TabStopsFollowTheKeyboardOrderAndEnterAndEscapeHaveTheirButtons) {
    // The native Tab order is the stacking order of the controls marked as tab stops.
    std::vector<HWND> tabStops;
    for (HWND child = GetWindow(window->handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP)
            tabStops.push_back(child);
    std::vector<HWND> expected;
    for (const ControlDescription* described : form.keyboardOrder())
        expected.push_back(window->control(described->key()));
    EXPECT_EQ(tabStops, expected);
    HWND defaultButton = nullptr, cancelButton = nullptr;
    for (const ControlDescription& described : form.controls) {
        if (described.isDefault)
            defaultButton = window->control(described.key());
        if (described.isCancel)
            cancelButton = window->control(described.key());
    }
    EXPECT_EQ(window->form().defaultButton(), defaultButton);
    EXPECT_EQ(window->form().cancelButton(), cancelButton);
    if (defaultButton) {
        EXPECT_EQ(GetWindowLongA(defaultButton, GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    }
}

TEST_P(Win32WindowsTest, MenusCarryTheirCaptionsAndAccessKeys) {
    const HMENU bar = window->form().menuBar();
    ASSERT_EQ(bar != nullptr, !form.menus.empty());
    ASSERT_EQ(GetMenu(window->handle()), bar);
    char text[256];
    for (std::size_t i = 0; i < form.menus.size(); ++i) {
        const MenuDescription& menu = form.menus[i];
        GetMenuStringA(bar, UINT(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), menu.caption);
        const HMENU popup = GetSubMenu(bar, int(i));
        ASSERT_EQ(GetMenuItemCount(popup), int(menu.entries.size())) << menu.name;
        for (const MenuEntry& entry : menu.entries) {
            if (entry.separator)
                continue;
            const auto id = window->form().menuId(entry.name);
            ASSERT_TRUE(id) << entry.name;
            GetMenuStringA(bar, *id, text, sizeof text, MF_BYCOMMAND);
            EXPECT_EQ(std::string(text), entry.caption) << entry.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Described, Win32WindowsTest, ::testing::ValuesIn(kWindows),
                         [](const auto& row) { return std::string(row.param.name); });

// Presses a key in the focused control, as the message loop takes it from the keyboard.
void press(int key) {
    for (const UINT message : {UINT{WM_KEYDOWN}, UINT{WM_KEYUP}}) {
        MSG msg{GetFocus(), message, WPARAM(key), message == WM_KEYUP ? LPARAM(0xC0000001) : 1,
                0,          {}};
        dispatchMessage(msg);
    }
}

std::string focused(const Win32Window& window) {
    return window.form().keyOf(GetDlgCtrlID(GetFocus()));
}

// The controls that the keys take the focus to, one after another.
std::vector<std::string> walk(const Win32Window& window, const std::vector<int>& keys) {
    std::vector<std::string> visited;
    for (const int key : keys) {
        press(key);
        visited.push_back(focused(window));
    }
    return visited;
}

// Enter presses the focused button, also the first one that the window focused itself.
TEST(Win32KeysTest, EnterPressesTheFocusedButton) {
    std::vector<std::string> pressed;
    Win32OpenProject main;
    for (const char* key : {"Cancel", "cmdAgain"})
        main.onCommand(key, [&pressed, key] { pressed.emplace_back(key); });
    main.show(); // Done has the focus, as after the start-up
    press(VK_RETURN);
    SetFocus(main.control("cmdAgain"));
    press(VK_RETURN);
    EXPECT_EQ(pressed, (std::vector<std::string>{"Cancel", "cmdAgain"}));
    int sysInfo = 0;
    Win32AboutWindow about([&] { ++sysInfo; }, nullptr);
    ShowWindow(about.handle(), SW_SHOW);
    SetFocus(about.control("cmdSysInfo"));
    press(VK_RETURN); // not OK, the default button
    EXPECT_EQ(sysInfo, 1);
    EXPECT_TRUE(IsWindowVisible(about.handle()));
}

// A click, Space or Enter in a row's box chooses; Tab and the arrow keys only move the focus,
// Tab in the keyboard order (while no option is chosen; then the group's stop is the chosen one)
// and the arrows round all four options; Enter closes only on Exit.
TEST(Win32KeysTest, InThePlayerWindowOnlyClicksSpaceAndEnterInABoxChoose) {
    Win32FrmVideoSet window(PlayerRows::windows(), nullptr);
    std::vector<int> choices;
    window.onChoice = [&](int option) { choices.push_back(option); };
    ShowWindow(window.handle(), SW_SHOW);
    SetFocus(window.control("Option1(3)"));
    EXPECT_EQ(walk(window, {VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_UP}),
              (std::vector<std::string>{"Option1(0)", "Option1(1)", "Option1(0)", "Option1(3)",
                                        "Option1(2)"}));
    EXPECT_TRUE(choices.empty());
    EXPECT_EQ(walk(window, std::vector<int>(7, VK_TAB)),
              (std::vector<std::string>{"txtWindows", "txtReal", "Option1(3)", "txtOther",
                                        "cmdExit", "Option1(0)", "Option1(1)"}));
    EXPECT_TRUE(choices.empty());
    press(VK_SPACE);
    EXPECT_EQ(choices, std::vector<int>{1});
    EXPECT_EQ(SendMessageA(window.control("Option1(1)"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(
        walk(window, std::vector<int>(5, VK_TAB)),
        (std::vector<std::string>{"txtWindows", "txtReal", "txtOther", "cmdExit", "Option1(1)"}));
    SetFocus(window.control("txtOther"));
    SetWindowTextA(window.control("txtOther"), "C:\\Players\\play.exe");
    press(VK_RETURN);
    EXPECT_EQ(choices, (std::vector<int>{1, 3}));
    EXPECT_EQ(SendMessageA(window.control("Option1(1)"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(window.control("Option1(3)"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(window.rowText(3), "C:\\Players\\play.exe");
    SetFocus(window.control("cmdExit"));
    press(VK_RETURN);
    EXPECT_EQ(window.handle(), nullptr); // closed
}

// About and the player window open over the middle of their owner.
TEST(Win32ModalTest, OpensCentredOverItsOwner) {
    Win32OpenProject main;
    SetWindowPos(main.handle(), nullptr, 420, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    main.show();
    const auto centre = [](HWND window) {
        RECT frame{};
        GetWindowRect(window, &frame);
        return POINT{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    };
    const POINT middle = centre(main.handle());
    Win32AboutWindow about([] {}, main.handle());
    Win32FrmVideoSet players(PlayerRows::windows(), main.handle());
    for (Win32Window* window : std::initializer_list<Win32Window*>{&about, &players}) {
        PostMessageA(window->handle(), WM_CLOSE, 0, 0); // as soon as it runs
        window->runModal();
        EXPECT_NEAR(centre(window->handle()).x, middle.x, 1) << window->form().description().name;
        EXPECT_NEAR(centre(window->handle()).y, middle.y, 1) << window->form().description().name;
    }
}

} // namespace
} // namespace zembrel
