#include "media/PlayVideo.h"
#include "fakes/FakeModalWindows.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProgramStarter.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Strings = std::vector<std::string>;

const std::string kVideo = "D:\\My Apps\\ZembrelPOBS.avi";
const std::string kWmplayer = "C:\\Program Files\\Windows Media Player\\wmplayer.exe";
const std::string kChoose = "\nYou need to designate a different video player.";

TEST(TutorialVideoPathTest, TheExecutablesFolderTheSeparatorAndTheName) {
    EXPECT_EQ(tutorialVideoPath("D:\\My Apps", PathRules::windows()), kVideo);
    EXPECT_EQ(tutorialVideoPath("C:\\", PathRules::windows()), "C:\\\\ZembrelPOBS.avi");
    EXPECT_EQ(tutorialVideoPath("/opt/zembrel", PathRules::posix("/home/ann")),
              "/opt/zembrel/ZembrelPOBS.avi");
}

TEST(PlayVideoTest, LooksForTheVideoStartsThePlayerOrSaysWhyNot) {
    struct Case {
        const char* name;
        std::string video;
        std::string player;
        std::deque<std::string> failures; // of the starts, in order
        Strings steps;                    // starts, event passes, boxes, windows
        std::string box{};
        MessageIcon icon = MessageIcon::Exclamation;
    };
    const std::string gone = "Video file D:\\Gone.avi was not found.";
    const std::string folder = "Video file D:\\Folder.avi was not found.";
    const Case cases[] = {
        {"no video, no player", "D:\\Gone.avi", "", {}, {"box"}, gone, MessageIcon::Information},
        {"no video", "D:\\Gone.avi", kWmplayer, {}, {"box"}, gone, MessageIcon::Information},
        {"a folder", "D:\\Folder.avi", kWmplayer, {}, {"box"}, folder, MessageIcon::Information},
        {"Windows Media Player", kVideo, kWmplayer, {}, {"start", "events", "start"}},
        {"in a folder's name", kVideo, "C:\\wmplayer\\x.exe", {}, {"start", "events", "start"}},
        {"letter case counts", kVideo, "C:\\Program Files\\WMPlayer.exe", {}, {"start"}},
        {"no player chosen", kVideo, "", {}, {"box", "frmVideoSet"}, "Error: " + kChoose},
        {"a start fails",
         kVideo,
         "/opt/gone",
         {"File not found"},
         {"start", "box", "frmVideoSet"},
         "Error: File not found" + kChoose},
        {"the first of two fails",
         kVideo,
         kWmplayer,
         {"Permission denied"},
         {"start", "box", "frmVideoSet"},
         "Error: Permission denied" + kChoose},
        {"the second of two fails",
         kVideo,
         kWmplayer,
         {"", "Out of memory"},
         {"start", "events", "start", "box", "frmVideoSet"},
         "Error: Out of memory" + kChoose},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePlatform fake;
        fake.files.files[kVideo] = "RIFF";
        fake.files.folders.insert("D:\\Folder.avi");
        test::FakeProgramStarter programs;
        programs.failures = c.failures;
        test::FakeModalWindows windows;
        Strings steps;
        programs.onStart = [&] { steps.push_back("start"); };
        fake.events.onProcessNow = [&] { steps.push_back("events"); };
        fake.boxes.onShow = [&](const test::ShownBox&) { steps.push_back("box"); };
        windows.onOpen = [&](const std::string& name) { steps.push_back(name); };
        AppState state;
        state.VideoPlayerPath = c.player;

        PlayVideo(state, c.video, fake.platform, programs, windows);
        EXPECT_EQ(steps, c.steps);
        const std::string line = "\"" + c.player + "\" /play /close \"" + kVideo + "\"";
        for (const auto& [started, show] : programs.started) {
            EXPECT_EQ(started, line);
            EXPECT_EQ(show, ProgramStarter::Show::MinimizedActive);
        }
        ASSERT_EQ(fake.boxes.shown.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty())
            test::expectBox(fake.boxes.shown[0], c.box, c.icon);
    }
}

} // namespace
} // namespace zembrel
