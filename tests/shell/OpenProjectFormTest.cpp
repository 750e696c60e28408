#include "shell/OpenProjectForm.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

const FormDescription& form = openProjectForm();

TEST(OpenProjectFormTest, AFixedWindowUnderItsCaption) {
    EXPECT_EQ(form.name, "OpenProject");
    EXPECT_EQ(form.caption, "Plovard Scourvane Plus");
    EXPECT_EQ(form.clientWidth, 5280);
    EXPECT_EQ(form.clientHeight, 4755);
    EXPECT_TRUE(form.fixedSize);
}

TEST(OpenProjectFormTest, FocusGoesFromDoneThroughTheControlsToPurge) {
    std::vector<std::string> order;
    for (const ControlDescription* control : form.keyboardOrder())
        order.push_back(control->key());
    EXPECT_EQ(order, (std::vector<std::string>{"Cancel", "cmdVideo", "cmdAgain", "txtFileName",
                                               "cmdPurge"}));
}

TEST(OpenProjectFormTest, TheButtonsCarryTheirCaptionsAndTooltips) {
    struct Expected {
        const char* name;
        const char* caption;
        const char* tooltip;
        bool enabled;
    };
    for (const Expected& e :
         {Expected{"cmdVideo", "&Video", "View a short video on how to run Gantrel.", true},
          Expected{"cmdAgain", "&Start Over", "Look for a new XER file.", true},
          Expected{"Cancel", "&Done", "Exit Program", true},
          Expected{"cmdPurge", "Purge", "", false}}) {
        SCOPED_TRACE(e.name);
        const ControlDescription* button = form.find(e.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->kind, ControlKind::Button);
        EXPECT_EQ(button->caption, e.caption);
        EXPECT_EQ(button->tooltip, e.tooltip);
        EXPECT_EQ(button->enabled, e.enabled);
        EXPECT_FALSE(button->isDefault || button->isCancel); // Enter and Escape press none
    }
}

TEST(OpenProjectFormTest, TheFileNameAndTheResultsStartEmpty) {
    EXPECT_EQ(form.find("Label4")->caption, "File Name");
    EXPECT_EQ(form.find("txtFileName")->kind, ControlKind::TextBox);
    const ControlDescription* results = form.find("lblResults");
    EXPECT_EQ(results->kind, ControlKind::Label);
    EXPECT_TRUE(results->multiLine);
    EXPECT_TRUE(results->caption.empty());
    EXPECT_TRUE(form.find("txtFileName")->caption.empty());
}

TEST(OpenProjectFormTest, MenusHoldTheirEntriesInOrder) {
    auto entries = [](const MenuDescription& menu) {
        std::vector<std::string> names{menu.name + "=" + menu.caption};
        for (const MenuEntry& e : menu.entries)
            names.push_back(e.name + "=" + (e.separator ? "-" : e.caption) +
                            (e.checkable ? " (check)" : ""));
        return names;
    };
    ASSERT_EQ(form.menus.size(), 2u);
    EXPECT_EQ(entries(form.menus[0]),
              (std::vector<std::string>{"mnuFile=&File", "mnuFileVersion=&Version",
                                        "mnuFileVideo=Video &Player",
                                        "mnuFileVoice=&Voice Prompts (check)", "mnuFileDash=-",
                                        "mnuReset=&Reset to Defaults", "mnuFileExit=&Exit"}));
    EXPECT_EQ(entries(form.menus[1]),
              (std::vector<std::string>{"mnuHelp=&Help", "mnuHelpContents=&Contents",
                                        "mnuHelpDash=-", "nmuHelpAbout=&About Scourvane"}));
}

} // namespace
} // namespace zembrel
