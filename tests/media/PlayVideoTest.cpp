#include "media/PlayVideo.h"
#include "fakes/FakeModalWindows.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProgramStarter.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Strings = std::vector<std::string>;
using Show = ProgramStarter::Show;

const std::string kVideo = "D:\\My Apps\\ZembrelPOBS.avi";
const std::string kWmplayer = "C:\\Program Files\\Windows Media Player\\wmplayer.exe";
const std::string kChoose = "You need to designate a different video player.";

TEST(TutorialVideoPathTest, TheExecutablesFolderTheSeparatorAndTheName) {
    EXPECT_EQ(tutorialVideoPath("D:\\My Apps", PathRules::windows()), kVideo);
    EXPECT_EQ(tutorialVideoPath("C:\\", PathRules::windows()), "C:\\\\ZembrelPOBS.avi");
    EXPECT_EQ(tutorialVideoPath("/opt/zembrel", PathRules::posix("/home/ann")),
              "/opt/zembrel/ZembrelPOBS.avi");
}

class PlayVideoTest : public ::testing::Test {
protected:
    PlayVideoTest() {
        fake.files.files[kVideo] = "RIFF";
        // What happened, in order: starts, event passes, boxes, windows.
        programs.onStart = [this] { steps.push_back("start"); };
        fake.events.onProcessNow = [this] { steps.push_back("events"); };
        fake.boxes.onShow = [this](const test::ShownBox&) { steps.push_back("box"); };
        windows.onOpen = [this](const std::string& name) { steps.push_back(name); };
    }
    void play(const std::string& video = kVideo) {
        PlayVideo(state, video, fake.platform, programs, windows);
    }

    test::FakePlatform fake;
    test::FakeProgramStarter programs;
    test::FakeModalWindows windows;
    AppState state;
    Strings steps;
};

TEST_F(PlayVideoTest, TheVideoIsLookedForFirst) {
    fake.files.folders.insert("D:\\Folder.avi");
    for (const std::string player : {"", "/usr/bin/mpv"}) {
        for (const std::string video : {"D:\\Gone.avi", "D:\\Folder.avi"}) {
            SCOPED_TRACE(player + " " + video);
            state.VideoPlayerPath = player;
            fake.boxes.shown.clear();
            steps.clear();
            play(video);
            EXPECT_EQ(steps, Strings{"box"});
            test::expectBox(fake.boxes.shown.at(0), "Video file " + video + " was not found.",
                            MessageIcon::Information);
        }
    }
}

TEST_F(PlayVideoTest, StartsThePlayerOnceOrTwiceForWindowsMediaPlayer) {
    struct Case {
        const char* name;
        std::string player;
        Strings steps;
    };
    const Case cases[] = {
        {"Windows Media Player", kWmplayer, {"start", "events", "start"}},
        {"in a folder's name", "C:\\wmplayer\\mplayer2.exe", {"start", "events", "start"}},
        {"letter case counts", "C:\\Program Files\\WMPlayer.exe", {"start"}},
        {"another player", "/usr/bin/vlc", {"start"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.VideoPlayerPath = c.player;
        programs.started.clear();
        steps.clear();
        play();
        EXPECT_EQ(steps, c.steps);
        const std::string line = "\"" + c.player + "\" /play /close \"" + kVideo + "\"";
        for (const auto& [started, show] : programs.started) {
            EXPECT_EQ(started, line);
            EXPECT_EQ(show, Show::MinimizedActive);
        }
        EXPECT_TRUE(fake.boxes.shown.empty());
    }
}

TEST_F(PlayVideoTest, APlayerThatDoesNotStartIsReportedAndTheSelectionWindowOpens) {
    struct Case {
        const char* name;
        std::string player;
        std::deque<std::string> failures;
        std::string description;
        Strings steps;
    };
    const Case cases[] = {
        {"no player chosen", "", {}, "", {"box", "frmVideoSet"}},
        {"a start fails",
         "/opt/gone",
         {"File not found"},
         "File not found",
         {"start", "box", "frmVideoSet"}},
        {"the first of two fails",
         kWmplayer,
         {"Permission denied"},
         "Permission denied",
         {"start", "box", "frmVideoSet"}},
        {"the second of two fails",
         kWmplayer,
         {"", "Out of memory"},
         "Out of memory",
         {"start", "events", "start", "box", "frmVideoSet"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.VideoPlayerPath = c.player;
        programs.failures = c.failures;
        fake.boxes.shown.clear();
        steps.clear();
        play();
        EXPECT_EQ(steps, c.steps);
        ASSERT_EQ(fake.boxes.shown.size(), 1u);
        test::expectBox(fake.boxes.shown[0], "Error: " + c.description + "\n" + kChoose,
                        MessageIcon::Exclamation);
    }
}

} // namespace
} // namespace zembrel
