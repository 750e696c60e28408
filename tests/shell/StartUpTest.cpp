#include "shell/StartUp.h"
#include "XerText.h"
#include "fakes/FakeShellServices.h"
#include "shell/GetFilename.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

const std::string kData = "/home/ann/.config/Plovard/";
const std::string kSettings = kData + "ZembrelPOBS.INI";
const std::string kSuite = kData + "Zembrel.INI";

// Everything the start-up talks to, each fake writing into one log, so the order of the steps
// shows.
class StartUpTest : public ::testing::Test, protected test::FakeShellServices {
protected:
    StartUpTest() {
        windows.onCall = [this](const std::string& name) { log.push_back(name); };
        fake.pointer.onSetBusy = [this](bool busy) {
            log.push_back(busy ? "busy on" : "busy off");
        };
        prompts.onPlay = [this](std::int16_t n) { log.push_back("prompt " + std::to_string(n)); };
        dialog.onOpen = [this] { log.push_back("dialog"); };
        fake.boxes.onShow = [this](const test::ShownBox& b) { log.push_back("box " + b.text); };
    }
    xer::SurveyReport startUp() { return StartUp(state, window, windows, services); }

    AppState state;
    test::FakeSurface window;
    test::FakeStartUpWindow windows;
    std::vector<std::string> log;
};

TEST_F(StartUpTest, RunsItsStepsInOrder) {
    // What each step must already have done when the window operations come.
    windows.onCall = [this](const std::string& name) {
        log.push_back(name);
        if (name == "showSplash") {
            EXPECT_TRUE(state.ProgramFolder.empty());
            EXPECT_TRUE(profile.reads.empty());
        } else if (name == "closeSplash") {
            EXPECT_EQ(state.ProgramFolder, "/opt/zembrel/");
            EXPECT_EQ(state.SettingsFile, kSettings);
            ASSERT_EQ(profile.reads.size(), 4u); // TOP, LEFT, SOUND_ON, XER_LOCATION
            EXPECT_EQ(profile.reads[0].file, kSettings);
            EXPECT_EQ(profile.reads[3].key, "XER_LOCATION");
            EXPECT_TRUE(state.SoundOn);
            EXPECT_TRUE(window.voiceChecked);
            EXPECT_TRUE(prompts.played.empty());
        } else if (name == "showMainWindow") {
            EXPECT_EQ(state.CurrentXerPath, "/srv/Plan.xer"); // the dialog came first
            EXPECT_TRUE(fake.files.files.count("/srv/Plan.xer"));
            EXPECT_EQ(fake.files.bytesRead, 0u); // the survey comes after
        }
    };
    fake.files.files["/srv/Plan.xer"] =
        test::crlf({"ERMHDR", "%T\tPOBS", "%F\tpobs_id", "%R\t1", "%E"});
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    fake.events.onProcess = [this] {
        if (log.back() != "survey yields")
            log.push_back("survey yields");
    };
    EXPECT_TRUE(startUp().foundRecords());
    const std::vector<std::string> expected{
        "showSplash", "closeSplash", "prompt 50",     "dialog",   "showMainWindow",
        "input off",  "busy on",     "survey yields", "busy off", "input on"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(state.PobsRecordCount, 1);
}

// Also: with the prompts switched off, the check mark is cleared.
TEST_F(StartUpTest, ACancelledDialogStillShowsTheWindowAndSurveys) {
    profile.set(kSuite, "CONFIGURE", "SOUND_ON", "FALSE");
    window.voiceChecked = true;
    dialog.cancel();
    startUp();
    EXPECT_FALSE(state.SoundOn);
    EXPECT_FALSE(window.voiceChecked);
    EXPECT_EQ(window.resultsText, file_selection_text::kExplanation);
    EXPECT_EQ(log, (std::vector<std::string>{"showSplash", "closeSplash", "prompt 50", "dialog",
                                             "showMainWindow", "input off", "busy on",
                                             "box File not specified.", "busy off", "input on"}));
}

// One that cannot be taken is explained, with the reason, before the dialog asks.
TEST_F(StartUpTest, AFileNamedOnTheCommandLineIsTakenInsteadOfAsking) {
    fake.files.folders.insert("/srv/My Jobs");
    fake.files.files["/srv/My Jobs/Plan.xer"] = test::crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"});
    fake.files.others.insert("/srv/pipe");
    const std::string intro = "The file named on the command line cannot be opened:\r\n";
    const std::string outro = " Please choose the XER file in the window that follows.";
    const struct {
        std::string line, current, box; // nothing current: the dialog was asked
    } cases[] = {
        {"/ini=/etc/z \"/srv/My Jobs/Plan.xer\"", "/srv/My Jobs/Plan.xer", ""},
        {"/srv/missing.xer \"/srv/My Jobs/Plan.xer\"", "/srv/My Jobs/Plan.xer", ""},
        {"/srv/missing.xer /srv", "", intro + "/srv/missing.xer\r\n\r\nIt does not exist." + outro},
        {"/srv /srv/missing.xer", "", intro + "/srv\r\n\r\nIt is a folder." + outro},
        {"/srv/pipe", "", intro + "/srv/pipe\r\n\r\nIt is not an ordinary file." + outro},
        {"/INI=\"/srv/My Jobs/Plan.xer\"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        state = AppState{};
        log.clear();
        fake.boxes.shown.clear();
        dialog.asked.clear();
        dialog.cancel();
        environment.line = c.line;
        startUp();
        EXPECT_EQ(state.CurrentXerPath, c.current);
        EXPECT_EQ(state.PobsRecordCount, c.current.empty() ? 0 : 1);
        // After the start prompt: the box, then the dialog; or either alone.
        const auto next = std::find(log.begin(), log.end(), "prompt 50") + 1;
        ASSERT_LT(next + 1, log.end());
        EXPECT_EQ(*next, !c.box.empty()      ? "box " + c.box
                         : c.current.empty() ? "dialog"
                                             : "showMainWindow");
        if (!c.box.empty()) {
            EXPECT_EQ(*(next + 1), "dialog");
            test::expectBox(fake.boxes.shown.front(), c.box, MessageIcon::Exclamation);
        }
    }
    EXPECT_EQ(window.fileName, "Plan.xer");
}

} // namespace
} // namespace zembrel
