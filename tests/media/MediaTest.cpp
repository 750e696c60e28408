#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeUi.h"
#include "media/PlayVideo.h"
#include "media/VideoPlayerSelection.h"
#include "media/VoicePrompts.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Strings = std::vector<std::string>;

// Each number plays its file from the program folder; a missing file (POBS.wav here) or an
// unknown number plays nothing. The player asks the switch at each prompt (its toggle is
// MainCommandsTest's and the windows').
TEST(VoicePromptsTest, EachNumberPlaysItsFileWhileTheSwitchIsOn) {
    AppState state;
    state.ProgramFolder = "/opt/zembrel/";
    test::FakeFileSystem files;
    for (const char* name : {"Error.wav", "AComplete.wav", "start.wav", "XERCreated.wav"})
        files.files[state.ProgramFolder + name] = "RIFF";
    test::FakeSoundPlayer player;
    WavePromptPlayer prompts{state, files, player};
    prompts.play(prompt::Error);
    state.SoundOn = true;
    for (const std::int16_t n : {prompt::Error, prompt::AnalysisComplete, prompt::PurgeStarted,
                                 prompt::ChooseFile, std::int16_t{12}, prompt::XerCreated})
        prompts.play(n);
    EXPECT_EQ(player.played, (Strings{"/opt/zembrel/Error.wav", "/opt/zembrel/AComplete.wav",
                                      "/opt/zembrel/start.wav", "/opt/zembrel/XERCreated.wav"}));
}

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
        // clang-format off
        {"no video, no player", "D:\\Gone.avi", "", {}, {"box"}, gone, MessageIcon::Information},
        {"a folder", "D:\\Folder.avi", kWmplayer, {}, {"box"}, folder, MessageIcon::Information},
        {"Windows Media Player", kVideo, kWmplayer, {}, {"start", "events", "start"}},
        {"in a folder's name", kVideo, "C:\\wmplayer\\x.exe", {}, {"start", "events", "start"}},
        {"letter case counts", kVideo, "C:\\Program Files\\WMPlayer.exe", {}, {"start"}},
        {"no player chosen", kVideo, "", {}, {"box", "frmVideoSet"}, "Error: " + kChoose},
        {"a start fails", kVideo, "/opt/gone", {"File not found"}, {"start", "box", "frmVideoSet"},
         "Error: File not found" + kChoose},
        {"the first of two fails", kVideo, kWmplayer, {"Permission denied"},
         {"start", "box", "frmVideoSet"}, "Error: Permission denied" + kChoose},
        {"the second of two fails", kVideo, kWmplayer, {"", "Out of memory"},
         {"start", "events", "start", "box", "frmVideoSet"}, "Error: Out of memory" + kChoose},
        // clang-format on
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

// The three text boxes as plain values.
class FakeVideoSet final : public VideoSetSurface {
public:
    Strings boxes{"", "", "", ""};
    std::string rowText(int option) const override { return boxes.at(std::size_t(option)); }
    void setRowText(int option, const std::string& text) override {
        boxes.at(std::size_t(option)) = text;
    }
};

const std::string kSuite = "/home/ann/.config/Plovard/Zembrel.INI";

class VideoPlayerSelectionTest : public ::testing::Test {
protected:
    VideoPlayerSelectionTest() { state.SuiteSettingsFile = kSuite; }
    AppState state;
    FakeVideoSet window;
    test::FakeFileSystem files;
    test::FakeFileDialog dialog;
    test::FakeProfileStore profile;
    test::FakeEvents events;
};

TEST_F(VideoPlayerSelectionTest, OpeningShowsThePathInTheBoxOfItsEnding) {
    struct Case {
        std::string path;
        PlayerRows players;
        Strings boxes;
    };
    const Case cases[] = {
        {"", PlayerRows::windows(), {"", "", "", ""}},
        {kWmplayer, PlayerRows::windows(), {"", kWmplayer, "", ""}},
        {"D:\\realplay.exe", PlayerRows::windows(), {"", "", "D:\\realplay.exe", ""}},
        {"C:\\WMP\\WMPLAYER.EXE", PlayerRows::windows(), {"", "", "", "C:\\WMP\\WMPLAYER.EXE"}},
        {"/usr/bin/vlc", PlayerRows::posix(), {"", "/usr/bin/vlc", "", ""}},
        {"/opt/mpv/mpv", PlayerRows::posix(), {"", "", "/opt/mpv/mpv", ""}},
        {"/usr/bin/smpv", PlayerRows::posix(), {"", "", "", "/usr/bin/smpv"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        state.VideoPlayerPath = c.path;
        FakeVideoSet opened;
        VideoPlayerSelection(state, opened, c.players, {files, dialog, profile, events}).open();
        EXPECT_EQ(opened.boxes, c.boxes);
    }
}

TEST_F(VideoPlayerSelectionTest, AChoiceTakesTheBoxOrTheDefaultOrBrowses) {
    const std::string typed = "D:\\Players\\mine.exe";
    files.files = {{kWmplayer, ""}, {typed, ""}, {"/usr/bin/mpv", ""}};
    const PlayerRows windows = PlayerRows::windows(), posix = PlayerRows::posix();
    struct Case {
        const char* name;
        const PlayerRows& players;
        int option;
        std::string box;
        std::optional<std::string> answer; // of the dialog, when it opens
        std::string chosen;
        const char* filter;
    };
    const Case cases[] = {
        {"the default location", windows, 1, "", {}, kWmplayer, nullptr},
        {"a typed file, whatever its name", windows, 2, typed, {}, typed, nullptr},
        {"no default, no player", windows, 2, "", "E:\\realplay.exe", "E:\\realplay.exe",
         "Real One Player|realplay.exe"},
        {"an empty other box", windows, 3, "", "E:\\vlc.exe", "E:\\vlc.exe", "Video Player|*.exe"},
        {"a typed name of nothing", windows, 1, "C:\\nothing.exe", "E:\\wmplayer.exe",
         "E:\\wmplayer.exe", "Windows Media File|wmplayer.exe"},
        {"a cancelled browse", windows, 3, "C:\\nothing.exe", std::nullopt, "",
         "Video Player|*.exe"},
        {"none, which leaves the boxes", windows, 0, "", {}, "", nullptr},
        {"mpv where Linux keeps it", posix, 2, "", {}, "/usr/bin/mpv", nullptr},
        {"no vlc here", posix, 1, "", "/opt/vlc", "/opt/vlc", "VLC media player|vlc"},
        {"any file on Linux", posix, 3, "", std::nullopt, "", "Video Player|*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.boxes = {"", "left", "alone", "here"};
        window.boxes[std::size_t(c.option)] = c.box;
        dialog.asked.clear();
        if (c.answer)
            dialog.choose(*c.answer, "");
        profile.writes.clear();
        state.VideoPlayerPath = "before";
        const long passes = events.immediateCalls;
        VideoPlayerSelection(state, window, c.players, {files, dialog, profile, events})
            .choose(c.option);
        EXPECT_EQ(state.VideoPlayerPath, c.chosen);
        Strings boxes{"", "left", "alone", "here"};
        if (c.option != 0)
            boxes[std::size_t(c.option)] = c.chosen;
        EXPECT_EQ(window.boxes, boxes);
        ASSERT_EQ(profile.writes.size(), 1u); // VIDEO_PLAYER, even when empty
        EXPECT_EQ(*profile.get(kSuite, "CONFIGURE", "VIDEO_PLAYER"), c.chosen);
        EXPECT_EQ(events.immediateCalls, passes + 1);
        ASSERT_EQ(dialog.asked.size(), c.filter ? 1u : 0u);
        if (c.filter) {
            const FileDialogOptions& asked = dialog.asked[0];
            EXPECT_EQ(asked.filter, c.filter);
            EXPECT_EQ(asked.title, "Locate and Click on the video player program");
            EXPECT_EQ(openFileNameFlags(asked), 0x201004ul);
            EXPECT_EQ(asked.initialFolder, "");
        }
    }
}

} // namespace
} // namespace zembrel
