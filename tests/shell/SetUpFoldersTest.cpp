#include "shell/SetUpFolders.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using namespace std::string_literals;

class SetUpFoldersTest : public ::testing::Test {
protected:
    SetUpFoldersTest() {
        files.folders = {"/opt", "/opt/zembrel",      "/home", "/home/ann", "/home/ann/.config",
                         "/srv", "/srv/team settings"};
    }
    void run(const std::string& line) {
        env.line = line;
        SetUpFolders(state, env, files, boxes, PathRules::posix("/home/ann"));
    }
    void expectOnlyError(const std::string& text) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(boxes.shown[0].title, "Plovard");
    }

    AppState state;
    test::FakeEnvironment env;
    test::FakeFileSystem files;
    test::FakeBoxes boxes;
};

TEST_F(SetUpFoldersTest, WithoutOptionTheFamilyFolderIsCreatedInLocalAppData) {
    run("");
    EXPECT_EQ(state.ProgramFolder, "/opt/zembrel/");
    EXPECT_EQ(state.DataFolder, "/home/ann/.config/Plovard/");
    EXPECT_EQ(state.SuiteSettingsFile, "/home/ann/.config/Plovard/Zembrel.INI");
    EXPECT_TRUE(files.folders.count("/home/ann/.config/Plovard"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SetUpFoldersTest, ExistingFoldersAreNotCreatedAgain) {
    files.folders.insert("/home/ann/.config/Plovard");
    files.fail(test::FakeFileSystem::Op::CreateFolder, failure::PermissionDenied);
    run("");
    EXPECT_EQ(state.DataFolder, "/home/ann/.config/Plovard/");
    run(R"(/INI="/srv/team settings")");
    EXPECT_EQ(state.DataFolder, "/srv/team settings/");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SetUpFoldersTest, LocalAppDataWithTrailingSeparatorGivesOneSeparator) {
    env.localAppData = "/home/ann/.config/"s;
    run("");
    EXPECT_EQ(state.DataFolder, "/home/ann/.config/Plovard/");
}

TEST_F(SetUpFoldersTest, OptionNamesAnExistingFolderInAnyCaseAnywhere) {
    run(R"(/ini="/srv/team settings")");
    EXPECT_EQ(state.DataFolder, "/srv/team settings/");
    EXPECT_EQ(state.SuiteSettingsFile, "/srv/team settings/Zembrel.INI");
    EXPECT_FALSE(files.folders.count("/home/ann/.config/Plovard"));

    run(R"(-q /InI="/srv/team settings/" /INI="/srv")");
    EXPECT_EQ(state.DataFolder, "/srv/team settings/");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SetUpFoldersTest, TheCharacterAfterTheEqualsSignIsSkippedUnseen) {
    run(R"(/INI=X/srv")");
    EXPECT_EQ(state.DataFolder, "/srv/");
}

TEST_F(SetUpFoldersTest, OptionNamingNoFolderFallsBackToTheDefaultSilently) {
    files.files["/srv/notes.txt"] = "x";
    for (const char* line : {R"(/INI="/srv/none")", R"(/INI="/srv/notes.txt")"}) {
        files.folders.erase("/home/ann/.config/Plovard");
        run(line);
        EXPECT_EQ(state.DataFolder, "/home/ann/.config/Plovard/") << line;
        EXPECT_TRUE(files.folders.count("/home/ann/.config/Plovard")) << line;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SetUpFoldersTest, EmptyNameMeansTheRootFolder) {
    files.folders.insert("/");
    run(R"(/INI="")");
    EXPECT_EQ(state.DataFolder, "/");
    EXPECT_EQ(state.SuiteSettingsFile, "/Zembrel.INI");
}

TEST_F(SetUpFoldersTest, MissingClosingQuoteMakesTheProgramFolderTheDataFolder) {
    for (const char* line : {R"(/INI="/srv/team settings)", "/INI=", "/INI=\""}) {
        boxes.shown.clear();
        run(line);
        expectOnlyError("ERROR #5, Invalid procedure call or argument.");
        EXPECT_EQ(state.DataFolder, "/opt/zembrel/") << line;
        EXPECT_EQ(state.SuiteSettingsFile, "/opt/zembrel/Zembrel.INI") << line;
    }
    EXPECT_FALSE(files.folders.count("/home/ann/.config/Plovard"));
}

TEST_F(SetUpFoldersTest, FolderThatCannotBeCreatedLeavesTheProgramFolder) {
    env.localAppData = "/nowhere/.config"s;
    run("");
    expectOnlyError("ERROR #76, Path not found.");
    EXPECT_EQ(state.DataFolder, "/opt/zembrel/");
    EXPECT_EQ(state.SuiteSettingsFile, "/opt/zembrel/Zembrel.INI");
}

TEST_F(SetUpFoldersTest, NoLocalAppDataFolderLeavesTheProgramFolder) {
    env.localAppData = makeFailure(failure::PathNotFound);
    run("");
    expectOnlyError("ERROR #76, Path not found.");
    EXPECT_EQ(state.DataFolder, "/opt/zembrel/");

    boxes.shown.clear();
    env.localAppData = ""s;
    run("");
    expectOnlyError("ERROR #76, Path not found.");
    EXPECT_EQ(state.DataFolder, "/opt/zembrel/");
}

TEST_F(SetUpFoldersTest, RejectedOptionNameRunsTheGuardedActionSoTheDefaultApplies) {
    run("/INI=\"/srv/te\0am\""s);
    expectOnlyError("ERROR #52, Bad file name or number.");
    EXPECT_EQ(state.DataFolder, "/home/ann/.config/Plovard/");
    EXPECT_TRUE(files.folders.count("/home/ann/.config/Plovard"));
}

TEST_F(SetUpFoldersTest, RejectedDefaultFolderTriesToCreateTheProgramFolderAndReportsTwice) {
    env.localAppData = "/home/ann/.con\0fig"s;
    run("");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "ERROR #52, Bad file name or number.");
    EXPECT_EQ(boxes.shown[1].text, "ERROR #75, Path/File access error.");
    EXPECT_EQ(state.DataFolder, "/opt/zembrel/");
    EXPECT_EQ(state.SuiteSettingsFile, "/opt/zembrel/Zembrel.INI");
}

} // namespace
} // namespace zembrel
