#include "shell/GetFilename.h"
#include "XerText.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProfileStore.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using namespace file_selection_text;

const std::string kSuite = "/home/ann/.config/Plovard/Zembrel.INI";

class GetFilenameTest : public ::testing::Test {
protected:
    GetFilenameTest() {
        state.XerFolder = "/home/ann/Jobs/";
        state.HelpFilePath = "/opt/zembrel/ZembrelPOBS.chm";
        state.SuiteSettingsFile = kSuite;
    }
    void choose() { GetFilename(state, window, dialog, profile, PathRules::posix("/home/ann")); }
    const std::string* storedLocation() const {
        return profile.get(kSuite, "CONFIGURE", "XER_LOCATION");
    }

    AppState state;
    test::FakeSurface window;
    test::FakeFileDialog dialog;
    test::FakeProfileStore profile;
    test::FakePlatform fake;
};

TEST_F(GetFilenameTest, TheDialogOpensInTheLastFolderWithTheFixedSettings) {
    dialog.cancel();
    choose();
    ASSERT_EQ(dialog.asked.size(), 1u);
    const FileDialogOptions& asked = dialog.asked[0];
    EXPECT_EQ(asked.initialFolder, "/home/ann/Jobs/");
    EXPECT_EQ(asked.filter, "P6 XER Files|*.XER");
    EXPECT_TRUE(asked.fileMustExist);
    EXPECT_EQ(asked.title, "Select the P6 Backup File to be Analyzed.");
    EXPECT_EQ(asked.helpFile, "/opt/zembrel/ZembrelPOBS.chm");
}

TEST_F(GetFilenameTest, AChosenFileBecomesCurrentAndItsFolderIsStoredAtOnce) {
#ifdef _WIN32
    dialog.choose("c:\\Jobs\\Plan.xer", "Plan.xer");
    choose();
    EXPECT_EQ(state.CurrentXerPath, "C:\\JOBS\\PLAN.XER");
    EXPECT_EQ(state.XerFolder, "C:\\JOBS\\");
#else
    // Linux names are case-sensitive: the path keeps its case.
    dialog.choose("/srv/Jobs/Plan.xer", "Plan.xer");
    choose();
    EXPECT_EQ(state.CurrentXerPath, "/srv/Jobs/Plan.xer");
    EXPECT_EQ(state.XerFolder, "/srv/Jobs/");
#endif
    EXPECT_EQ(state.CurrentXerName, "Plan.xer");
    EXPECT_EQ(window.fileName, "Plan.xer");
    ASSERT_NE(storedLocation(), nullptr);
    EXPECT_EQ(*storedLocation(), state.XerFolder);
    EXPECT_TRUE(window.resultsHistory.empty());
}

TEST_F(GetFilenameTest, FolderNamesPassThroughByteForByte) {
    // Blanks, cp1252 and UTF-8 bytes, a trailing dot; and a file in the root folder.
    const std::string folder = "/srv/Team plans./Pl\xe4ne \xc3\xbc./";
    dialog.choose(folder + "Big Job.XER", "Big Job.XER");
    dialog.choose("/x.xer", "x.xer");
    choose();
    EXPECT_EQ(state.XerFolder, folder);
    EXPECT_EQ(*storedLocation(), folder);
    choose();
    EXPECT_EQ(state.XerFolder, "/");
    EXPECT_EQ(*storedLocation(), "/");
}

TEST_F(GetFilenameTest, AFolderHoldingALineEndIsKeptButNotWrittenToTheSettings) {
    profile.set(kSuite, "CONFIGURE", "XER_LOCATION", "/home/ann/Jobs/");
    dialog.choose("/srv/odd\nname/Plan.XER", "Plan.XER");
    choose();
    EXPECT_EQ(state.XerFolder, "/srv/odd\nname/");
    EXPECT_EQ(*storedLocation(), "/home/ann/Jobs/");
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(GetFilenameTest, CancelExplainsTheProgramAndChangesNothing) {
    state.CurrentXerPath = "/srv/Jobs/Plan.xer";
    state.CurrentXerName = "Plan.xer";
    window.fileName = "Plan.xer";
    dialog.cancel();
    choose();
    EXPECT_EQ(window.resultsText,
              "According to the Oracle/Primavera Knowledgebase, the P6 functions related to "
              "table POBS have not been implemented yet so the table exists but is not supposed "
              "to be used.  Due to a programming error, useless POBS data is being transferred "
              "via XER files and this data is quickly growing.  This can cause very long import "
              "times and wastes database space.  This program will create a new XER file that "
              "does not include this unwanted POBS data.");
    EXPECT_EQ(window.redraws, 1); // shown before the survey that follows takes its time
    EXPECT_EQ(state.CurrentXerPath, "/srv/Jobs/Plan.xer");
    EXPECT_EQ(state.CurrentXerName, "Plan.xer");
    EXPECT_EQ(state.XerFolder, "/home/ann/Jobs/");
    EXPECT_EQ(window.fileName, "Plan.xer");
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(GetFilenameTest, AnEmptyChoiceChangesNothing) {
    dialog.choose("", "");
    choose();
    EXPECT_TRUE(state.CurrentXerPath.empty());
    EXPECT_EQ(state.XerFolder, "/home/ann/Jobs/");
    EXPECT_TRUE(window.resultsHistory.empty());
    EXPECT_TRUE(profile.writes.empty());
}

class StartOverTest : public GetFilenameTest {
protected:
    xer::SurveyOutcome startOver() { return StartOver(state, window, fake.platform, dialog, profile); }
};

TEST_F(StartOverTest, ACancelledFirstChoiceEndsWithFileNotSpecified) {
    dialog.cancel();
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Refused);
    EXPECT_EQ(window.resultsText, kExplanation);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "File not specified.");
    EXPECT_FALSE(window.purgeEnabled);
}

TEST_F(StartOverTest, ACancelledStartOverSurveysTheCurrentFileAgain) {
    const std::string path = "/srv/Jobs/Plan.xer";
    fake.files.files[path] =
        test::crlf({"ERMHDR", "%T\tPOBS", "%F\tpobs_id", "%R\t1", "%R\t2", "%E"});
    dialog.choose(path, "Plan.xer");
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Reported);
    EXPECT_TRUE(window.purgeEnabled);
    const std::string report = window.resultsText;

    window.resultsHistory.clear();
    dialog.cancel();
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Reported);
    ASSERT_GE(window.resultsHistory.size(), 4u);
    EXPECT_EQ(window.resultsHistory[0], "");
    EXPECT_EQ(window.resultsHistory[1], kExplanation);
    EXPECT_EQ(window.resultsHistory[2], "Opening XER file " + path);
    EXPECT_EQ(window.resultsText, report);
    EXPECT_EQ(state.PobsRecordCount, 2);
}

TEST_F(StartOverTest, AFileThatVanishesAfterTheDialogIsReportedNotFound) {
    dialog.choose("/srv/Jobs/Gone.xer", "Gone.xer");
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Refused);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "ERROR! File not found.");
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.CurrentXerName, "Gone.xer");
}

} // namespace
} // namespace zembrel
