#include "media/VideoPlayerSelection.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfileStore.h"
#include "fakes/FakeUi.h"
#include "media/FrmVideoSetForm.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Strings = std::vector<std::string>;

// A control as one line: kind (Button, Label, Text box, Option, Frame), key, caption, rectangle,
// frame and place in the keyboard order.
std::string described(const ControlDescription& c) {
    const TwipRect& r = c.rect;
    return std::string(1, "BLTOF??"[int(c.kind)]) + " " + c.key() + " '" + c.caption + "' " +
           std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) +
           "," + std::to_string(r.height) + (c.container.empty() ? "" : " in " + c.container) +
           (c.tabIndex ? " #" + std::to_string(*c.tabIndex) : "");
}

TEST(FrmVideoSetFormTest, ControlsRectanglesAndKeyboardOrder) {
    const FormDescription form = frmVideoSetForm(PlayerRows::windows());
    EXPECT_EQ(form.name + "/" + form.caption, "frmVideoSet/Select Your Video Player");
    EXPECT_EQ(std::pair(form.clientWidth, form.clientHeight), std::pair(8460, 3720));
    Strings controls;
    for (const ControlDescription& control : form.controls)
        controls.push_back(described(control));
    EXPECT_EQ(
        controls,
        (Strings{"F Frame1 '' 120,120,2175,3375",
                 "O Option1(0) 'none' 240,480,1815,375 in Frame1 #0",
                 "O Option1(1) '&Windows Media' 240,1200,1815,375 in Frame1 #1",
                 "O Option1(2) '&Real One Player' 240,1920,1815,375 in Frame1 #2",
                 "O Option1(3) '&Other Player' 240,2640,1815,375 in Frame1 #5",
                 "L Label1 'Location' 2400,840,1095,255", "T txtWindows '' 2400,1320,5895,375 #3",
                 "T txtReal '' 2400,2040,5895,375 #4", "T txtOther '' 2400,2760,5895,360 #6",
                 "B cmdExit '&Exit' 6960,240,1215,615 #7"}));
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
const std::string kWmplayer = "C:\\Program Files\\Windows Media Player\\wmplayer.exe";

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
    EXPECT_TRUE(profile.writes.empty());
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_EQ(events.immediateCalls, 0);
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

TEST(FrmVideoSetFormTest, ALinuxDesktopNamesItsPlayers) {
    const FormDescription form = frmVideoSetForm(PlayerRows::posix());
    EXPECT_EQ(form.find("Option1(1)")->caption, "&VLC player");
    EXPECT_EQ(form.find("Option1(2)")->caption, "&mpv player");
}

} // namespace
} // namespace zembrel
