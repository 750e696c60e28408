#include "shell/SetUpFolders.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using namespace std::string_literals;

const std::string kFamily = "/home/ann/.config/Plovard/";
const std::string kProgram = "/opt/zembrel/";
const Outcome<std::string> kLocal = "/home/ann/.config"s;

// What SetUpFolders talks to, fresh for each run.
struct Folders {
    void setUp(const PathRules& paths) { SetUpFolders(state, env, files, boxes, paths); }
    test::FakeEnvironment env;
    test::FakeFileSystem files;
    test::FakeBoxes boxes;
    AppState state;
};

TEST(SetUpFoldersTest, DecidesTheFoldersAndFallsBackToTheProgramFolder) {
    const std::string k5 = "ERROR #5, Invalid procedure call or argument.";
    const std::string k52 = "ERROR #52, Bad file name or number.";
    const std::string k76 = "ERROR #76, Path not found.";
    const struct {
        const char* what;
        std::string line;                  // the command line
        Outcome<std::string> localAppData; // what the platform gives
        std::string dataFolder;            // DataFolder afterwards
        std::vector<std::string> boxes;    // "ERROR #" messages, in order
        bool familyFolderMade = false;     // /home/ann/.config/Plovard exists afterwards
    } cases[] = {
        // clang-format off
        {"no option: the family folder, made", "", kLocal, kFamily, {}, true},
        {"a local folder ending in its separator", "", "/home/ann/.config/"s, kFamily, {}, true},
        {"the option in any case", R"(/ini="/srv/team settings")", kLocal, "/srv/team settings/", {}},
        {"the first option anywhere, with its separator",
         R"(-q /InI="/srv/team settings/" /INI="/srv")", kLocal, "/srv/team settings/", {}},
        {"the character after = unseen", R"(/INI=X/srv")", kLocal, "/srv/", {}},
        {"a folder that does not exist: the default", R"(/INI="/srv/none")", kLocal, kFamily, {}, true},
        {"a file is no folder", R"(/INI="/srv/notes.txt")", kLocal, kFamily, {}, true},
        {"an empty name: the root", R"(/INI="")", kLocal, "/", {}},
        {"no closing quote", R"(/INI="/srv/team settings)", kLocal, kProgram, {k5}},
        {"nothing after the option", "/INI=", kLocal, kProgram, {k5}},
        {"a folder that cannot be made", "", "/nowhere/.config"s, kProgram, {k76}},
        {"no local folder", "", Outcome<std::string>(makeFailure(76)), kProgram, {k76}},
        {"an empty local folder", "", ""s, kProgram, {k76}},
        {"a rejected option name: the default after the message", "/INI=\"/srv/te\0am\""s,
         kLocal, kFamily, {k52}, true},
        {"a rejected default: the program folder, two messages", "", "/home/ann/.con\0fig"s,
         kProgram, {k52, "ERROR #75, Path/File access error."}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Folders f;
        f.files.folders = {"/",         "/opt", "/opt/zembrel",      "/home",
                           "/home/ann", "/srv", "/home/ann/.config", "/srv/team settings"};
        f.files.files["/srv/notes.txt"] = "x";
        f.env.line = c.line;
        f.env.localAppData = c.localAppData;
        f.setUp(PathRules::posix("/home/ann"));
        EXPECT_EQ(f.state.ProgramFolder, "/opt/zembrel/");
        EXPECT_EQ(f.state.DataFolder, c.dataFolder);
        EXPECT_EQ(f.state.SuiteSettingsFile, c.dataFolder + "Zembrel.INI");
        EXPECT_EQ(f.files.folders.count("/home/ann/.config/Plovard"), c.familyFolderMade ? 1u : 0u);
        ASSERT_EQ(f.boxes.shown.size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i)
            test::expectBox(f.boxes.shown[i], c.boxes[i], MessageIcon::None);
    }
}

// An installed program finds its read-only files apart from its executables; the data folder
// stays where it was.
TEST(SetUpFoldersTest, InstalledProgramTakesItsDistributionFolder) {
    PathRules paths = PathRules::posix("/home/ann");
    paths.developmentFolder = "/usr/bin/";
    paths.distributionFolder = "/usr/share/zembrelpobs/";
    const std::pair<const char*, const char*> cases[] = {{"/usr/bin/", "/usr/share/zembrelpobs/"},
                                                         {"/usr/BIN", "/usr/BIN/"},
                                                         {"/usr/bin/x", "/usr/bin/x/"}};
    for (const auto& [executable, program] : cases)
        EXPECT_EQ(paths.programFolder(executable), program) << executable;
    Folders f;
    f.files.folders = {"/home/ann/.config"};
    f.env.programFolder = "/usr/bin";
    f.setUp(paths);
    EXPECT_EQ(f.state.ProgramFolder, "/usr/share/zembrelpobs/");
    EXPECT_EQ(f.state.DataFolder, kFamily);
}

// The Windows rules run here too: drive roots, backslashes, names Windows refuses.
TEST(SetUpFoldersWindowsTest, BackslashesAndNamesWindowsRefuses) {
    Folders f;
    f.env.programFolder = "C:\\Program Files\\Plovard";
    f.env.localAppData = "C:\\Users\\ann\\AppData\\Local"s;
    f.files.folders = {"C:\\Users\\ann\\AppData\\Local", "D:\\Team settings"};
    f.env.line = R"(/INI="D:\Team settings")";
    f.setUp(PathRules::windows());
    EXPECT_EQ(f.state.ProgramFolder, "C:\\Program Files\\Plovard\\");
    EXPECT_EQ(f.state.DataFolder, "D:\\Team settings\\");
    f.env.line = R"(/INI="D:\a|b")";
    f.setUp(PathRules::windows());
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    test::expectBox(f.boxes.shown[0], "ERROR #52, Bad file name or number.", MessageIcon::None);
    EXPECT_EQ(f.state.DataFolder, "C:\\Users\\ann\\AppData\\Local\\Plovard\\");
    EXPECT_TRUE(f.files.folders.count("C:\\Users\\ann\\AppData\\Local\\Plovard"));
}

} // namespace
} // namespace zembrel
