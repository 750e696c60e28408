#include "shell/GetFilename.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeServices.h"

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
        state.CurrentXerPath = "/srv/Jobs/Plan.xer";
        state.CurrentXerName = "Plan.xer";
    }
    void choose(const PathRules& paths = PathRules::posix("/home/ann")) {
        GetFilename(state, window, dialog, profile, paths);
    }
    std::string stored() const {
        const std::string* value = profile.get(kSuite, "CONFIGURE", "XER_LOCATION");
        return value ? *value : "(none)";
    }
    xer::SurveyOutcome startOver() {
        return StartOver(state, window, fake.platform, dialog, profile).outcome;
    }

    AppState state;
    test::FakeSurface window;
    test::FakeFileDialog dialog;
    test::FakeProfileStore profile;
    test::FakePlatform fake;
};

TEST_F(GetFilenameTest, AChosenFileBecomesCurrentAndItsFolderIsStoredAtOnce) {
    const struct {
        const char* what;
        PathRules paths;
        std::string path, name, current, folder, stored;
    } cases[] = {
        // clang-format off
        // Linux names tell letter case apart: the path keeps its case.
        {"POSIX", PathRules::posix("/home/ann"), "/srv/Jobs/Plan.xer", "Plan.xer", "/srv/Jobs/Plan.xer",
         "/srv/Jobs/", "/srv/Jobs/"},
        // A folder holding a line end serves this run but is never written.
        {"a line end in the folder", PathRules::posix(""), "/srv/odd\nname/P.XER", "P.XER",
         "/srv/odd\nname/P.XER", "/srv/odd\nname/", "/srv/Jobs/"},
        {"Windows", PathRules::windows(), "c:\\Jobs\\Plan.xer", "Plan.xer", "C:\\JOBS\\PLAN.XER", "C:\\JOBS\\", "C:\\JOBS\\"},
        {"a drive's root", PathRules::windows(), "C:\\x.xer", "x.xer", "C:\\X.XER", "C:\\", "C:\\"},
        {"bytes pass through", PathRules::posix(""), "/srv/Team plans./Pl\xe4ne \xc3\xbc./Big.XER", "Big.XER",
         "/srv/Team plans./Pl\xe4ne \xc3\xbc./Big.XER", "/srv/Team plans./Pl\xe4ne \xc3\xbc./",
         "/srv/Team plans./Pl\xe4ne \xc3\xbc./"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialog.choose(c.path, c.name);
        choose(c.paths);
        EXPECT_EQ(state.CurrentXerPath, c.current);
        EXPECT_EQ(state.CurrentXerName, c.name);
        EXPECT_EQ(window.fileName, c.name);
        EXPECT_EQ(state.XerFolder, c.folder);
        EXPECT_EQ(stored(), c.stored);
    }
    // An empty choice changes nothing.
    const auto writes = profile.writes.size();
    dialog.choose("", "");
    choose();
    EXPECT_EQ(state.CurrentXerPath, cases[4].current);
    EXPECT_EQ(window.fileName, "Big.XER");
    EXPECT_EQ(profile.writes.size(), writes);
    EXPECT_TRUE(window.resultsHistory.empty());
    const FileDialogOptions& asked = dialog.asked.at(0);
    EXPECT_EQ(asked.initialFolder, "/home/ann/Jobs/");
    EXPECT_EQ(asked.filter, "P6 XER Files|*.XER");
    EXPECT_EQ(openFileNameFlags(asked), 0x1014ul); // must exist, Help, no read-only box
    EXPECT_EQ(asked.title, "Select the P6 Backup File to be Analyzed.");
    EXPECT_EQ(asked.helpFile, "/opt/zembrel/ZembrelPOBS.chm");
}

TEST_F(GetFilenameTest, StartOverEmptiesTheLabelChoosesAndSurveysTheCurrentFile) {
    state.CurrentXerPath.clear();
    dialog.cancel();
    EXPECT_EQ(startOver(), xer::SurveyOutcome::NotSpecified); // a first cancel: nothing to survey
    EXPECT_EQ(window.resultsText, kExplanation);
    EXPECT_EQ(window.redraws, 1); // shown before the survey that follows takes its time
    test::expectBox(fake.boxes.shown.at(0), "File not specified.", MessageIcon::None);

    const std::string path = "/srv/Jobs/Plan.xer";
    fake.files.files[path] = test::crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1", "%R\t2", "%E"});
    dialog.choose(path, "Plan.xer");
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Reported);
    const std::string report = window.resultsText;
    window.resultsHistory.clear();
    dialog.cancel(); // a cancelled Start Over surveys the current file again
    EXPECT_EQ(startOver(), xer::SurveyOutcome::Reported);
    EXPECT_EQ(window.resultsHistory,
              (std::vector<std::string>{"", kExplanation, "Opening XER file " + path, report}));

    dialog.choose("/srv/Jobs/Gone.xer", "Gone.xer");
    EXPECT_EQ(startOver(), xer::SurveyOutcome::NotFound);
    test::expectBox(fake.boxes.shown.back(), "ERROR! File not found.", MessageIcon::Exclamation);
}

} // namespace
} // namespace zembrel
