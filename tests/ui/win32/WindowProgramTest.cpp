// The Windows window program in this process: its start-up with a dialog answered as a user
// would, its main window, and Done saving the window's place.
#include "app/win32/WindowProgram.h"
#include "DialogDriver.h"
#include "TempFolder.h"
#include "XerText.h"
#include "fakes/FakeServices.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace zembrel {
namespace {

struct StartUpCase {
    const char* name;
    bool typeFile; // else the dialog is cancelled
    bool drop;     // the file is then dropped on the main window
    const char* message;
    int pobs;
};

void PrintTo(const StartUpCase& c, std::ostream* out) {
    *out << c.name;
}

// Drops one file on a window, as the shell does: a DROPFILES block followed by the name.
void dropFile(HWND window, const std::string& path) {
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    path.copy(reinterpret_cast<char*>(drop + 1), path.size());
    GlobalUnlock(memory);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

std::string exeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

class WindowProgramTest : public ::testing::TestWithParam<StartUpCase> {
protected:
    WindowProgramTest() {
        environment.programFolder = exeFolder();
        environment.localAppData = dir.path();
        environment.line = "/INI=\"" + dir.path() + "\"";
    }
    std::string setting(const char* key) const {
        char value[64] = {};
        GetPrivateProfileStringA("OPEN", key, "", value, sizeof value,
                                 dir.file("ZembrelPOBS.INI").c_str());
        return value;
    }

    test::TempFolder dir;
    const std::string xerPath = dir.write(
        "Plan.xer", test::crlf({"ERMHDR\t8.0", "%T\tPOBS", "%F\tpobs_id", "%R\t1", "%R\t2", "%E"}));
    test::FakeEnvironment environment;
};

TEST_P(WindowProgramTest, StartsUpSurveysTheChosenFileAndDoneSavesThePlace) {
    const StartUpCase& c = GetParam();
    WindowProgram program(environment, 0);
    {
        test::DialogDriver driver({c.typeFile ? xerPath : std::string()});
        ASSERT_TRUE(program.startUp());
        EXPECT_EQ(driver.fileDialogs(), 1);
        const auto messages = driver.messages();
        if (*c.message) {
            EXPECT_NE(std::find(messages.begin(), messages.end(), c.message), messages.end());
        }
    }
    Win32OpenProject& window = program.window();
    if (c.drop) {
        dropFile(window.handle(), xerPath);
    }
    EXPECT_TRUE(IsWindowVisible(window.handle()));
    EXPECT_EQ(program.state().PobsRecordCount, c.pobs);
    EXPECT_EQ(window.text("txtFileName").empty(), !c.typeFile && !c.drop);
    // Purge follows the survey once it has ended; the progress bar waits hidden.
    EXPECT_EQ(IsWindowEnabled(window.control("cmdPurge")) != 0, c.pobs > 0);
    EXPECT_FALSE(IsWindowVisible(window.progressBar()));
    // The voice check mark follows its switch.
    const UINT voice = *window.form().menuId("mnuFileVoice");
    const bool wasOn = program.state().SoundOn;
    SendMessageA(window.handle(), WM_COMMAND, voice, 0);
    EXPECT_NE(program.state().SoundOn, wasOn);
    EXPECT_EQ((GetMenuState(window.form().menuBar(), voice, MF_BYCOMMAND) & MF_CHECKED) != 0,
              !wasOn);
    // Done keeps the window's place, in twips, in the settings of the /INI= folder.
    const int dpi = systemDpi();
    SetWindowPos(window.handle(), nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(window.control("Cancel"), BM_CLICK, 0, 0);
    EXPECT_EQ(program.run(), 0);
    EXPECT_FLOAT_EQ(std::stof("0" + setting("TOP")), float(120 * 1440 / dpi));
    EXPECT_FLOAT_EQ(std::stof("0" + setting("LEFT")), float(150 * 1440 / dpi));
}

INSTANTIATE_TEST_SUITE_P(Dialog, WindowProgramTest,
                         ::testing::Values(StartUpCase{"Cancelled", false, false,
                                                       "File not specified.", 0},
                                           StartUpCase{"TypedFile", true, false, "", 2},
                                           StartUpCase{"Dropped", false, true, "", 2}),
                         [](const auto& row) { return std::string(row.param.name); });

// A failure of the start-up, while the splash is up, is not covered by it (an /INI= option
// without its closing quote: "ERROR #5"): the splash steps aside while the box is up.
TEST(WindowProgramSplashTest, AStartUpMessageIsNotHiddenBehindTheSplash) {
    test::TempFolder dir;
    test::FakeEnvironment environment;
    environment.programFolder = dir.path(); // settings fall back here
    environment.localAppData = dir.path();
    environment.line = "/INI=\"C:\\x";
    WindowProgram program(environment, 0);
    test::DialogDriver driver({""});
    ASSERT_TRUE(program.startUp());
    const auto messages = driver.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().rfind("ERROR #5", 0), 0u) << messages.front();
    EXPECT_EQ(driver.overlappedMessages(), std::vector<std::string>{});
}

} // namespace
} // namespace zembrel
