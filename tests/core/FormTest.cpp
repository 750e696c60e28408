#include "core/Form.h"
#include "info/FrmAbout.h"
#include "info/FrmSplashForm.h"
#include "media/FrmVideoSetForm.h"
#include "shell/OpenProjectForm.h"

#include <gtest/gtest.h>

#include <set>

namespace zembrel {
namespace {

// A frame of option buttons inside another frame, a text box and a button: the nesting and the
// keyboard order that the helpers work through.
FormDescription nestedForm() {
    using enum ControlKind;
    FormDescription form{.name = "frmNested", .clientWidth = 6000, .clientHeight = 3000};
    // clang-format off
    form.controls = {
        {.kind = Frame, .name = "Outer", .rect = {100, 200, 5000, 2500}},
        {.kind = Frame, .name = "Inner", .rect = {300, 400, 2000, 1500}, .container = "Outer"},
        {.kind = OptionButton, .name = "Option1", .index = 1, .rect = {50, 600, 900, 300},
         .tabIndex = 2, .container = "Inner"},
        {.kind = OptionButton, .name = "Option1", .index = 0, .rect = {50, 100, 900, 300},
         .tabIndex = 1, .container = "Inner"},
        {.kind = TextBox, .name = "txtA", .rect = {10, 20, 30, 40}, .tabIndex = 2},
        {.kind = Button, .name = "cmdGo", .rect = {0, 0, 600, 300}, .tabIndex = 0},
        {.kind = Label, .name = "lblNote", .rect = {0, 2800, 600, 200}},
    };
    // clang-format on
    return form;
}

// What takes no focus is left out; ties keep the order of the list. The main window's focus
// goes from Done through the controls to Purge. The arrow keys go round the options of one
// container in keyboard order, whatever lies between. An array's elements are found by name and
// index, never by the array's name alone.
TEST(FormTest, KeyboardOrderOptionRingsAndClientRectangles) {
    // The order points into the form, which must outlive it.
    const auto keysOf = [](const FormDescription& form) {
        std::vector<std::string> keys;
        for (const ControlDescription* control : form.keyboardOrder())
            keys.push_back(control->key());
        return keys;
    };
    EXPECT_EQ(keysOf(nestedForm()),
              (std::vector<std::string>{"cmdGo", "Option1(0)", "Option1(1)", "txtA"}));
    EXPECT_EQ(keysOf(openProjectForm()), (std::vector<std::string>{"Cancel", "cmdVideo", "cmdAgain",
                                                                   "txtFileName", "cmdPurge"}));
    const FormDescription players = frmVideoSetForm(PlayerRows::windows());
    const auto next = [&](const char* key, bool back) {
        return players.nextOption(*players.find(key), back).key();
    };
    EXPECT_EQ(next("Option1(2)", false), "Option1(3)"); // past the text boxes
    EXPECT_EQ(next("Option1(3)", false), "Option1(0)");
    EXPECT_EQ(next("Option1(0)", true), "Option1(3)");
    FormDescription form = nestedForm(); // listed in another order than the keyboard's
    EXPECT_EQ(form.nextOption(*form.find("Option1(0)"), false).key(), "Option1(1)");
    EXPECT_EQ(form.find("Option1"), nullptr);
    EXPECT_EQ(form.clientRect(*form.find("Option1(1)")), (TwipRect{450, 1200, 900, 300}));
    EXPECT_EQ(form.clientRect(*form.find("txtA")), (TwipRect{10, 20, 30, 40}));
    // A frame that sits in itself, through another, does not hang the lookup.
    form.controls[0].container = "Inner";
    (void)form.clientRect(*form.find("Option1(0)"));
    form.controls[1].container = "Gone"; // a container that is not there adds nothing
    EXPECT_EQ(form.clientRect(*form.find("Option1(0)")), (TwipRect{350, 500, 900, 300}));
}

// A part pixel is dropped, as the window sizes are; 96 dots per inch unless a screen says.
TEST(FormTest, TwipsBecomeWholeLogicalPixels) {
    EXPECT_EQ(twipsToPixels(1214), 80);
    // clang-format off
    const int cases[][3] = {{1215, 96, 81}, {1214, 96, 80}, {1215, 144, 121}, {4755, 120, 396},
                            {20000000, 192, 2666666}}; // no overflow on the way
    // clang-format on
    for (const auto& [twips, dpi, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
}

// What every described window holds to, whichever renderer draws it: names unique across
// controls and menus; each control inside its frame and the window, with a place in the
// keyboard order and the Enter and Escape roles only where the control can take them.
TEST(EveryFormTest, NamesAreUniqueAndEachControlFitsAndTakesOnlyTheRolesItCan) {
    using enum ControlKind;
    for (const FormDescription& form :
         {openProjectForm(), frmSplashForm(), frmAboutForm(),
          frmVideoSetForm(PlayerRows::windows()), frmVideoSetForm(PlayerRows::posix())}) {
        SCOPED_TRACE(form.name);
        std::set<std::string> names{form.name};
        for (const MenuDescription& menu : form.menus) {
            EXPECT_TRUE(names.insert(menu.name).second) << menu.name;
            for (const MenuEntry& entry : menu.entries)
                EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        }
        const TwipRect client{0, 0, form.clientWidth, form.clientHeight};
        std::set<int> places;
        int defaults = 0;
        int cancels = 0;
        for (const ControlDescription& control : form.controls) {
            SCOPED_TRACE(control.key());
            EXPECT_TRUE(!control.name.empty() && names.insert(control.key()).second);
            EXPECT_GT(control.rect.width, 0);
            EXPECT_TRUE(client.contains(form.clientRect(control)));
            if (const ControlDescription* frame = form.find(control.container)) {
                EXPECT_EQ(frame->kind, Frame);
                EXPECT_LT(frame, &control); // built before what it holds
                EXPECT_TRUE(
                    TwipRect(0, 0, frame->rect.width, frame->rect.height).contains(control.rect));
            } else {
                EXPECT_EQ(control.container, "");
            }
            const bool takesFocus =
                control.kind == Button || control.kind == TextBox || control.kind == OptionButton;
            EXPECT_TRUE(!control.tabIndex ||
                        (takesFocus && places.insert(*control.tabIndex).second));
            EXPECT_TRUE(control.kind == Button || !(control.isDefault || control.isCancel));
            EXPECT_TRUE(control.kind == TextBox ||
                        (!control.readOnly && control.enterClicks.empty()));
            if (const ControlDescription* clicked = form.find(control.enterClicks)) {
                EXPECT_TRUE(clicked->kind == Button || clicked->kind == OptionButton);
            } else {
                EXPECT_EQ(control.enterClicks, "");
            }
            defaults += control.isDefault;
            cancels += control.isCancel;
            EXPECT_EQ(control.kind == Picture, !control.picture.empty());
        }
        EXPECT_LE(defaults, 1);
        EXPECT_LE(cancels, 1);
    }
}

} // namespace
} // namespace zembrel
