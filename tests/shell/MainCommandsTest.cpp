#include "shell/MainCommands.h"
#include "XerText.h"
#include "fakes/FakeShellServices.h"
#include "fakes/FakeStartUpWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace zembrel {
namespace {

const std::string kData = "/home/ann/.config/Plovard/";
const std::string kSettings = kData + "ZembrelPOBS.INI";
const std::string kPlan = "/srv/Plan.xer";

// A started program whose current file holds POBS and RISKTYPE records.
class MainCommandsTest : public ::testing::Test, protected test::FakeShellServices {
protected:
    MainCommandsTest() {
        fake.files.folders = {"/opt",      "/opt/zembrel",      "/home",
                              "/home/ann", "/home/ann/.config", "/srv"};
        std::vector<std::string> lines{"ERMHDR", "%T\tPOBS", "%F\tpobs_id"};
        for (int i = 0; i < 50; ++i)
            lines.push_back("%R\t" + std::to_string(i));
        lines.insert(lines.end(), {"%T\tRISKTYPE", "%F\trisk_type_id\trisk_type", "%R\t7\tA",
                                   "%T\tTASK", "%F\ttask_id", "%R\t1", "%E"});
        fake.files.files[kPlan] = test::crlf(lines);
        dialog.choose(kPlan, "Plan.xer");
        commands.onRunningChanged = [this](bool running) { runningChanges.push_back(running); };
        // The shut-down's steps on the windows and on the event pump, in order.
        windows.onCall = [this](const std::string& name) { steps.push_back(name); };
        fake.events.onProcessNow = [this] { steps.push_back("events now"); };
        commands.startUp();
        fake.boxes.shown.clear();
        steps.clear();
        runningChanges.clear();
        profile.writes.clear();
    }
    // Runs action once, at the first yield of the next operation.
    void duringNextOperation(std::function<void()> action) {
        auto done = std::make_shared<bool>(false);
        fake.events.onProcess = [done, action] {
            if (!*done) {
                *done = true;
                action();
            }
        };
    }

    AppState state;
    test::FakeSurface window;
    test::FakeStartUpWindow windows;
    MainCommands commands{state, window, windows, services};
    std::vector<bool> runningChanges;
    std::vector<std::string> steps;
};

TEST_F(MainCommandsTest, NoOperationStartsInsideAnother) {
    ASSERT_TRUE(window.purgeEnabled);
    bool refused = false;
    duringNextOperation([&] {
        EXPECT_TRUE(commands.running());
        const auto dialogs = dialog.asked.size();
        refused = !commands.startOver() && !commands.purge() && !commands.resetToDefaults();
        EXPECT_EQ(dialog.asked.size(), dialogs); // no second dialog
        EXPECT_TRUE(fake.boxes.shown.empty());   // no reset question
        commands.toggleVoicePrompts();           // harmless ones still work
        commands.showVersion();
    });
    dialog.cancel();
    EXPECT_TRUE(commands.startOver());
    EXPECT_TRUE(refused);
    EXPECT_FALSE(state.SoundOn);
    EXPECT_EQ(fake.boxes.texts(), std::vector<std::string>{"Version Number 4.42"});
    EXPECT_EQ(runningChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(commands.running());
    EXPECT_EQ(state.PobsRecordCount, 50); // the one survey ran to its end
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 0u);
}

TEST_F(MainCommandsTest, ClosingDuringASurveyShutsDownWhenItHasReturned) {
    window.setPosition(222, 333);
    duringNextOperation([&] {
        EXPECT_FALSE(commands.requestClose()); // the window stays until the survey is out
        EXPECT_TRUE(steps.empty());
        EXPECT_TRUE(profile.writes.empty());
    });
    fake.boxes.onShow = [&](const test::ShownBox&) { ADD_FAILURE() << "no box expected"; };
    dialog.cancel();
    EXPECT_TRUE(commands.startOver());
    EXPECT_EQ(window.resultsText, "Opening XER file " + kPlan); // stopped before its report
    EXPECT_EQ(steps, (std::vector<std::string>{"events now", "endProgram"}));
    ASSERT_EQ(profile.writes.size(), 2u);
    EXPECT_EQ(profile.writes[0].value, " 222");
    EXPECT_EQ(profile.writes[1].value, " 333");
    EXPECT_TRUE(commands.ended());
    // Once shut down, nothing starts and a further close just lets the window go.
    EXPECT_FALSE(commands.startOver());
    EXPECT_TRUE(commands.requestClose());
    EXPECT_EQ(profile.writes.size(), 2u);
}

TEST_F(MainCommandsTest, ClosingDuringAPurgeStopsItWithoutOutput) {
    duringNextOperation([&] { EXPECT_FALSE(commands.requestClose()); });
    EXPECT_TRUE(commands.purge());
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 0u);
    EXPECT_EQ(fake.files.files.count("/srv/Temp.TXT"), 0u);
    EXPECT_EQ(state.CurrentXerPath, kPlan);
    EXPECT_EQ(steps, (std::vector<std::string>{"events now", "endProgram"}));
    EXPECT_EQ(fake.files.openHandles, 0);
}

TEST_F(MainCommandsTest, ClosingWhileIdleShutsDownAtOnce) {
    EXPECT_TRUE(commands.requestClose());
    EXPECT_EQ(steps, (std::vector<std::string>{"events now", "endProgram"}));
    EXPECT_EQ(profile.writes.size(), 2u);
    EXPECT_EQ(profile.writes[0].file, kSettings);
}

TEST_F(MainCommandsTest, PurgeMakesTheNewFileCurrentAndStartOverSurveysIt) {
    EXPECT_TRUE(commands.purge());
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 1u);
    EXPECT_EQ(window.fileName, "Plan-POBS.xer");
    dialog.cancel();
    EXPECT_TRUE(commands.startOver());
    EXPECT_EQ(window.resultsHistory.back(),
              "The above XER file does not contain any POBS or Risk Type records.");
    EXPECT_FALSE(window.purgeEnabled);
}

TEST_F(MainCommandsTest, ADroppedFileIsChosenAndSurveyedUnlessAnOperationRuns) {
    fake.files.files["/srv/Other.XER"] = test::crlf({"ERMHDR", "%E"});
    const auto dialogs = dialog.asked.size();
    duringNextOperation([&] { EXPECT_FALSE(commands.chooseDroppedFile("/srv/Other.XER")); });
    EXPECT_TRUE(commands.purge());
    EXPECT_EQ(state.CurrentXerName, "Plan-POBS.xer");
    EXPECT_FALSE(commands.chooseDroppedFile("/srv")); // a folder is not a file
    EXPECT_FALSE(commands.chooseDroppedFile("/srv/missing.xer"));
    EXPECT_TRUE(commands.chooseDroppedFile("/srv/Other.XER"));
    EXPECT_EQ(state.CurrentXerPath, "/srv/Other.XER");
    EXPECT_EQ(window.fileName, "Other.XER");
    EXPECT_EQ(window.resultsHistory.back(),
              "The above XER file does not contain any POBS or Risk Type records.");
    EXPECT_EQ(dialog.asked.size(), dialogs); // no dialog came up for the drop
}

TEST_F(MainCommandsTest, TheMenuCommandsReachTheirOperations) {
    fake.boxes.answers = {MessageAnswer::No};
    EXPECT_TRUE(commands.resetToDefaults());
    commands.showVersion();
    commands.toggleVoicePrompts();
    EXPECT_FALSE(window.voiceChecked);
    ASSERT_EQ(fake.boxes.shown.size(), 2u);
    test::expectBox(fake.boxes.shown[0],
                    "Are you sure that you want to reset all program settings?",
                    MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(fake.boxes.shown[1].text, "Version Number 4.42");
    EXPECT_EQ(fake.boxes.shown[1].title, "Plovard Enterprise");
    // The help file is not there: only the viewer may say so.
    commands.showHelp();
    EXPECT_EQ(help.shown, std::vector<std::string>{"/opt/zembrel/ZembrelPOBS.chm"});
    EXPECT_EQ(fake.boxes.shown.size(), 2u);
    commands.showAbout();
    EXPECT_EQ(modals.opened.back(), "frmAbout");
}

} // namespace
} // namespace zembrel
