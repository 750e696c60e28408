#include "shell/MainCommands.h"
#include "XerText.h"
#include "fakes/FakeShellServices.h"

#include <gtest/gtest.h>

#include <memory>

namespace zembrel {
namespace {

const std::string kPlan = "/srv/Plan.xer";

// A started program whose current file holds POBS and RISKTYPE records.
class MainCommandsTest : public ::testing::Test, protected test::FakeShellServices {
protected:
    MainCommandsTest() {
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
        fake.events.onProcessNow = [this] {
            steps.push_back("events now, " + std::to_string(profile.writes.size()) + " keys");
        };
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
    std::chrono::steady_clock::time_point now{};
    MainCommands commands{state, window, windows, services, [this] { return now; }};
    std::vector<bool> runningChanges;
    std::vector<std::string> steps;
};

// While an operation runs no other starts and what would change the current file is greyed;
// the progress bar shows after half a second (the clock is the test's) and hides at the end.
TEST_F(MainCommandsTest, NoOperationStartsInsideAnotherAndWhatWaitsIsGreyed) {
    ASSERT_TRUE(window.enabled["cmdPurge"]);
    bool refused = false;
    duringNextOperation([&] {
        EXPECT_TRUE(commands.running());
        EXPECT_FALSE(window.enabled.at("cmdAgain"));
        EXPECT_FALSE(window.enabled.at("mnuReset"));
        EXPECT_TRUE(window.enabled["Cancel"]); // a survey may be closed
        const auto dialogs = dialog.asked.size();
        refused = !commands.startOver() && !commands.purge() && !commands.resetToDefaults();
        EXPECT_EQ(dialog.asked.size(), dialogs); // no second dialog
        EXPECT_TRUE(fake.boxes.shown.empty());   // no reset question
        commands.toggleVoicePrompts();           // harmless ones still work
        commands.showVersion();
        now += std::chrono::milliseconds(600);
    });
    window.progress.clear();
    dialog.cancel();
    EXPECT_TRUE(commands.startOver());
    EXPECT_TRUE(refused);
    EXPECT_FALSE(state.SoundOn);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "Version Number 4.42");
    EXPECT_EQ(runningChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(commands.running());
    EXPECT_TRUE(window.enabled.at("cmdAgain"));
    EXPECT_TRUE(window.enabled.at("mnuReset"));
    EXPECT_EQ(state.PobsRecordCount, 50); // the one survey ran to its end
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 0u);
    // The whole file, once read; hidden at the end. A quick survey never shows it.
    EXPECT_EQ(window.progress, (std::vector<std::optional<int>>{1000, std::nullopt}));
    window.progress.clear();
    dialog.cancel();
    EXPECT_TRUE(commands.startOver());
    EXPECT_EQ(window.progress, std::vector<std::optional<int>>{std::nullopt});
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
    // The place is saved, then the events run, then the program ends.
    EXPECT_EQ(steps, (std::vector<std::string>{"events now, 2 keys", "endProgram"}));
    ASSERT_EQ(profile.writes.size(), 2u);
    EXPECT_EQ(profile.writes[0].value, " 222");
    EXPECT_EQ(profile.writes[1].value, " 333");
    EXPECT_TRUE(commands.ended());
    // Once shut down, nothing starts and a further close just lets the window go.
    EXPECT_FALSE(commands.startOver());
    EXPECT_TRUE(commands.requestClose());
    EXPECT_EQ(profile.writes.size(), 2u);
}

TEST_F(MainCommandsTest, ADroppedFileIsChosenAndSurveyed) {
    fake.files.files["/srv/Other.XER"] = test::crlf({"ERMHDR", "%E"});
    const auto dialogs = dialog.asked.size();
    EXPECT_FALSE(commands.chooseDroppedFile("/srv")); // a folder is not a file
    EXPECT_FALSE(commands.chooseDroppedFile("/srv/missing.xer"));
    EXPECT_TRUE(commands.chooseDroppedFile("/srv/Other.XER"));
    EXPECT_EQ(state.CurrentXerPath, "/srv/Other.XER");
    EXPECT_EQ(window.fileName, "Other.XER");
    EXPECT_EQ(window.resultsHistory.back(),
              "The above XER file does not contain any POBS or Risk Type records.");
    EXPECT_EQ(dialog.asked.size(), dialogs); // no dialog came up for the drop
}

// Purge belongs to the file that was surveyed; while it runs it says so and Done waits.
TEST_F(MainCommandsTest, PurgeFollowsTheLastSurveyAndTheRunningOperation) {
    ASSERT_TRUE(window.enabled["cmdPurge"]);
    duringNextOperation([&] {
        EXPECT_FALSE(window.enabled["cmdPurge"]);
        EXPECT_EQ(window.purgeCaption, "working...");
        EXPECT_FALSE(window.enabled["Cancel"]);
    });
    EXPECT_TRUE(commands.purge());
    EXPECT_EQ(prompts.played, (std::vector<std::int16_t>{50, 47, 51}));
    EXPECT_EQ(window.fileName, "Plan-POBS.xer");
    EXPECT_EQ(window.purgeCaption, "Purge");
    EXPECT_TRUE(window.enabled["Cancel"]);
    EXPECT_FALSE(window.enabled["cmdPurge"]); // only a new survey enables it again
    const struct {
        std::string file;
        bool purge;
    } surveys[] = {
        {kPlan, true},
        {"/srv/gone.xer", true},   // no file there: Purge stays with the file surveyed before
        {"/srv/notes.xer", false}, // a failed survey: never Purge with another file's counts
    };
    fake.files.files["/srv/notes.xer"] = "Notes\r\n\x1a\r\n"; // not XER text: not repaired
    for (const auto& step : surveys) {
        SCOPED_TRACE(step.file);
        dialog.choose(step.file, "x.xer");
        EXPECT_TRUE(commands.startOver());
        EXPECT_EQ(window.enabled["cmdPurge"], step.purge);
    }
    EXPECT_EQ(window.resultsText, "ERROR #321, Invalid file format");
}

} // namespace
} // namespace zembrel
