#include "shell/OpenProjectForm.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

const FormDescription& form = openProjectForm();

TEST(OpenProjectFormTest, AFixedWindowUnderItsCaption) {
    EXPECT_EQ(form.name, "OpenProject");
    EXPECT_EQ(form.caption, "Plovard Scourvane Plus");
    EXPECT_EQ((TwipRect{0, 0, form.clientWidth, form.clientHeight}), (TwipRect{0, 0, 5280, 4755}));
    EXPECT_TRUE(form.fixedSize);
}

TEST(OpenProjectFormTest, FocusGoesFromDoneThroughTheControlsToPurge) {
    std::vector<std::string> order;
    for (const ControlDescription* control : form.keyboardOrder())
        order.push_back(control->key());
    EXPECT_EQ(order, (std::vector<std::string>{"Cancel", "cmdVideo", "cmdAgain", "txtFileName",
                                               "cmdPurge"}));
}

// Enter and Escape press no button of this window.
TEST(OpenProjectFormTest, TheControlsCarryTheirKindsCaptionsTooltipsAndStates) {
    using enum ControlKind;
    struct Row {
        const char* name;
        ControlKind kind;
        const char* caption;
        const char* tooltip;
        bool enabled;
    };
    for (const Row& e : {
             Row{"cmdVideo", Button, "&Video", "View a short video on how to run Gantrel.", true},
             Row{"cmdAgain", Button, "&Start Over", "Look for a new XER file.", true},
             Row{"Cancel", Button, "&Done", "Exit Program", true},
             Row{"cmdPurge", Button, "Purge", "", false},
             Row{"Label4", Label, "File Name", "", true},
             Row{"txtFileName", TextBox, "", "", true},
             Row{"lblResults", Label, "", "", true},
         }) {
        SCOPED_TRACE(e.name);
        const ControlDescription* control = form.find(e.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind, e.kind);
        EXPECT_EQ(control->caption, e.caption);
        EXPECT_EQ(control->tooltip, e.tooltip);
        EXPECT_EQ(control->enabled, e.enabled);
        EXPECT_FALSE(control->isDefault || control->isCancel);
    }
    EXPECT_EQ(form.controls.size(), 7u);
    EXPECT_TRUE(form.find("lblResults")->multiLine);
}

TEST(OpenProjectFormTest, MenusHoldTheirEntriesInOrder) {
    std::vector<std::string> entries;
    for (const MenuDescription& menu : form.menus) {
        entries.push_back(menu.name + "=" + menu.caption);
        for (const MenuEntry& e : menu.entries)
            entries.push_back(e.name + "=" + (e.separator ? "-" : e.caption) +
                              (e.checkable ? " (check)" : ""));
    }
    EXPECT_EQ(entries,
              (std::vector<std::string>{
                  "mnuFile=&File", "mnuFileVersion=&Version", "mnuFileVideo=Video &Player",
                  "mnuFileVoice=&Voice Prompts (check)", "mnuFileDash=-",
                  "mnuReset=&Reset to Defaults", "mnuFileExit=&Exit", "mnuHelp=&Help",
                  "mnuHelpContents=&Contents", "mnuHelpDash=-", "nmuHelpAbout=&About Scourvane"}));
}

} // namespace
} // namespace zembrel
