// The four windows as the native renderer builds them, checked against their descriptions.
#include "info/FrmAbout.h"
#include "info/FrmSplashForm.h"
#include "media/FrmVideoSetForm.h"
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

} // namespace
} // namespace zembrel
