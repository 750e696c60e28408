#include "xer/Survey.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using test::crlf;

const std::string kPath = "/jobs/PLAN.XER";

std::string reportOf(int pobs, int riskTypes) {
    return "A total of " + std::to_string(pobs) + " POBS records\r\nand " +
           std::to_string(riskTypes) +
           " Risk Type records\r\nexist in this XER file.\r\n\r\nClick on the button below to "
           "create a new XER file without these unwanted entries.";
}

class SurveyTest : public ::testing::Test {
protected:
    SurveyOutcome survey(const std::string& content) {
        fake.files.files[kPath] = content;
        return survey();
    }
    SurveyOutcome survey() {
        state.CurrentXerPath = kPath;
        return PerformSurvey(state, window, fake.platform);
    }
    test::FakePlatform fake;
    test::FakeSurface window;
    AppState state;
};

TEST_F(SurveyTest, CountsPobsAndRiskTypeRecordsAndEnablesPurge) {
    const auto outcome =
        survey(crlf({"ERMHDR\t8.0", "%T\tOBS", "%F\tobs_id", "%R\t1", "%T\tPOBS", "%F\tpobs_id",
                     "%R\t1", "%R\t2", "%R\t3", "%T\tRISKTYPE", "%F\trisk_type_id", "%R\t7",
                     "%R\t8", "%T\tTASK", "%R\tx", "%E"}));
    EXPECT_EQ(outcome, SurveyOutcome::Reported);
    EXPECT_EQ(state.PobsRecordCount, 3);
    EXPECT_EQ(state.RiskTypeRecordCount, 2);
    EXPECT_EQ(window.resultsText, reportOf(3, 2));
    EXPECT_EQ(window.resultsHistory.front(), "Opening XER file " + kPath);
    EXPECT_TRUE(window.purgeEnabled);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(fake.files.openHandles, 0);
    EXPECT_GE(fake.events.calls, 16); // the window gets its events while the file is read
}

TEST_F(SurveyTest, AFileWithoutRecordsOfInterestDisablesPurge) {
    window.purgeEnabled = true;
    for (const std::string& content :
         {std::string(), crlf({"ERMHDR", "%T\tPOBS", "%F\tpobs_id", "%E"}),
          crlf({"ERMHDR", "%T\tTASK", "%R\t1", "%E"})}) {
        EXPECT_EQ(survey(content), SurveyOutcome::Reported);
        EXPECT_EQ(window.resultsText,
                  "The above XER file does not contain any POBS or Risk Type records.");
        EXPECT_FALSE(window.purgeEnabled);
    }
}

TEST_F(SurveyTest, TheEndingLineOfATableIsOnlyLookedAtForRiskType) {
    // POBS straight into RISKTYPE: both count.
    survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tRISKTYPE", "%F", "%R\ta", "%R\tb", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 1);
    EXPECT_EQ(state.RiskTypeRecordCount, 2);
    // RISKTYPE straight into POBS: that POBS table is not seen.
    survey(crlf({"H", "%T\tRISKTYPE", "%F", "%R\ta", "%T\tPOBS", "%F", "%R\t1", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 0);
    EXPECT_EQ(state.RiskTypeRecordCount, 1);
    // Two POBS tables in a row: the second is not seen; two apart: both are.
    survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tPOBS", "%F", "%R\t2", "%R\t3", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 1);
    survey(
        crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tX", "%T\tPOBS", "%F", "%R\t2", "%R\t3", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 3);
}

TEST_F(SurveyTest, OnlyTheTagOfALineInsideATableMatters) {
    survey(
        crlf({"H", "  %T\tPOBS  ", "%R", "", " %R\tnot a record", "%Rx", "%F\tx", "%R\t1", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 3); // the first line after the table line counts too
    survey(crlf({"H", "%T\tPOBS\t", "%R\t1", "%T\tpobs", "%R\t2", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 0);
}

TEST_F(SurveyTest, TheLastLineIsNeverExamined) {
    EXPECT_EQ(survey(crlf({"H", "%T\tPOBS"})), SurveyOutcome::Reported);
    EXPECT_EQ(state.PobsRecordCount, 0);
    EXPECT_EQ(survey("H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E"), SurveyOutcome::Reported);
    EXPECT_EQ(state.PobsRecordCount, 1);
}

TEST_F(SurveyTest, AFileEndingInsideATableIsBroken) {
    window.purgeEnabled = true;
    EXPECT_EQ(survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%R\t2"})), SurveyOutcome::Broken);
    const std::string pobsText =
        "ERROR: The file is broken and should not be used.\r\nPOBS record corruption ruined "
        "the XER file.";
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, pobsText);
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(fake.boxes.shown[0].title, "Plovard");
    EXPECT_EQ(window.resultsText, pobsText);
    EXPECT_FALSE(window.purgeEnabled);
    EXPECT_EQ(state.PobsRecordCount, 1); // what was counted before the end stays
    EXPECT_EQ(fake.files.openHandles, 0);

    EXPECT_EQ(survey(crlf({"H", "%T\tRISKTYPE", "%F", "%R\t1"})), SurveyOutcome::Broken);
    EXPECT_EQ(window.resultsText,
              "ERROR: The file is broken and should not be used.\r\nRisk Type record "
              "corruption ruined the XER file.");
    // The field-names line as the last line of the file is inside the table too.
    EXPECT_EQ(survey(crlf({"H", "%T\tPOBS", "%F"})), SurveyOutcome::Broken);
}

TEST_F(SurveyTest, LfOnlyFilesAreReadLineByLine) {
    survey("ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%R\t2\n%T\tRISKTYPE\n%F\n%R\tx\n%E\n");
    EXPECT_EQ(state.PobsRecordCount, 2);
    EXPECT_EQ(state.RiskTypeRecordCount, 1);
}

TEST_F(SurveyTest, FilesFirstEndedByCrKeepLfAsData) {
    // After a CR LF first line, LF-only lines are one long line: no table is found.
    survey("ERMHDR\r\n%T\tPOBS\n%F\n%R\t1\n%E\n");
    EXPECT_EQ(window.resultsText,
              "The above XER file does not contain any POBS or Risk Type records.");
}

TEST_F(SurveyTest, EachSubByteIsReplacedWithASpaceAndReportedWithTheRunningCount) {
    const std::string clean = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1 a", "%R\t2 b", "%E",
                                    "%T\tRISKTYPE", "%F", "%R\t3 c", "%E"});
    std::string damaged = clean;
    for (const char* at : {"1 a", "2 b", "3 c"})
        damaged[damaged.find(at) + 1] = '\x1a';
    EXPECT_EQ(survey(damaged), SurveyOutcome::Reported);
    EXPECT_EQ(fake.files.files[kPath], clean);
    EXPECT_EQ(fake.boxes.texts(),
              (std::vector<std::string>{
                  "A total of 1 characters were corrupt and were replaced with a space.",
                  "A total of 2 characters were corrupt and were replaced with a space.",
                  "A total of 3 characters were corrupt and were replaced with a space."}));
    for (const auto& box : fake.boxes.shown)
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    // The counts are those of a whole survey of the repaired file.
    EXPECT_EQ(state.PobsRecordCount, 2);
    EXPECT_EQ(state.RiskTypeRecordCount, 1);
    EXPECT_EQ(window.resultsText, reportOf(2, 1));
    const std::string reconditioning =
        "The XER file is corrupted and needs to be reconditioned.  Please wait while this "
        "process proceeds (this can take several minutes).";
    EXPECT_EQ(
        std::count(window.resultsHistory.begin(), window.resultsHistory.end(), reconditioning), 3);
    EXPECT_EQ(fake.files.openHandles, 0);
}

TEST_F(SurveyTest, ASubByteAtTheVeryEndOrStartIsRepairedToo) {
    EXPECT_EQ(survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%E"}) + "\x1a"),
              SurveyOutcome::Reported);
    EXPECT_EQ(fake.files.files[kPath].back(), ' ');
    EXPECT_EQ(window.resultsText, reportOf(1, 0));

    fake.boxes.shown.clear();
    EXPECT_EQ(survey(std::string(5, '\x1a')), SurveyOutcome::Reported);
    EXPECT_EQ(fake.files.files[kPath], "     ");
    EXPECT_EQ(fake.boxes.shown.size(), 5u);
    EXPECT_EQ(fake.boxes.shown.back().text,
              "A total of 5 characters were corrupt and were replaced with a space.");
}

TEST_F(SurveyTest, ARepairInsideAnLfOnlyFirstLineKeepsReadingLfAsALineEnd) {
    survey("ERM\x1aHDR\n%T\tPOBS\n%F\n%R\t1\n%E\n");
    EXPECT_EQ(state.PobsRecordCount, 1);
}

TEST_F(SurveyTest, ARepairInALineLongerThanABlockCountsAsAWholeSurveyWould) {
    std::string big(700'000, 'x');
    big[650'000] = '\x1a';
    survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%R\t" + big, "%R\t3", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 3);
    EXPECT_EQ(fake.files.files[kPath][fake.files.files[kPath].find('x') + 650'000], ' ');
}

TEST_F(SurveyTest, RefusesWithoutAFileAndLeavesTheWindowAsItWas) {
    window.purgeEnabled = true;
    window.resultsText = "earlier";
    state.CurrentXerPath.clear();
    EXPECT_EQ(PerformSurvey(state, window, fake.platform), SurveyOutcome::Refused);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "File not specified.");
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::None);

    EXPECT_EQ(survey(), SurveyOutcome::Refused); // nothing at the path
    EXPECT_EQ(fake.boxes.shown[1].text, "ERROR! File not found.");
    EXPECT_EQ(fake.boxes.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.resultsText, "earlier");
    EXPECT_TRUE(window.purgeEnabled);
    EXPECT_EQ(state.TabChar, '\t');
}

TEST_F(SurveyTest, FileFailuresGiveTheirNumberAndLeaveLabelButtonAndCounts) {
    window.purgeEnabled = true;
    state.PobsRecordCount = 9;
    fake.files.failOpenRead = makeFailure(70);
    EXPECT_EQ(survey(crlf({"H", "%E"})), SurveyOutcome::Failed);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "ERROR #70, Permission denied");
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(window.purgeEnabled);
    EXPECT_EQ(state.PobsRecordCount, 9);

    fake.files.failOpenRead.reset();
    fake.files.failReadAfter = {{10, makeFailure(57)}};
    EXPECT_EQ(survey(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%E"})), SurveyOutcome::Failed);
    EXPECT_EQ(fake.boxes.shown.back().text, "ERROR #57, Device I/O error");
    EXPECT_EQ(fake.files.openHandles, 0);
}

TEST_F(SurveyTest, AFileThatCannotBeRepairedIsReportedAndLeftAsItWas) {
    const std::string damaged = crlf({"H", "%T\tPOBS", "%F", "%R\t\x1a", "%E"});
    fake.files.failOpenReadWrite = makeFailure(70);
    EXPECT_EQ(survey(damaged), SurveyOutcome::Failed);
    EXPECT_EQ(fake.boxes.shown.back().text, "ERROR #70, Permission denied");
    EXPECT_EQ(fake.files.files[kPath], damaged);
    EXPECT_EQ(fake.files.openHandles, 0);
}

TEST_F(SurveyTest, AFileChangedBeforeTheRepairIsSearchedForItsFirstSubByte) {
    // The SUB byte the reader met is gone by the time of the repair; another one is there.
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%F", "%R\t\x1a", "%E"});
    fake.events.onProcess = [&] {
        std::string& f = fake.files.files[kPath];
        const auto sub = f.find('\x1a');
        if (sub != std::string::npos && window.resultsText.starts_with("The XER file")) {
            f[sub] = 'k';
            f[0] = '\x1a';
        }
    };
    EXPECT_EQ(survey(), SurveyOutcome::Reported);
    EXPECT_EQ(fake.files.files[kPath], crlf({" ", "%T\tPOBS", "%F", "%R\tk", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 1);
}

TEST_F(SurveyTest, ClosingTheProgramStopsTheSurveyAndLeavesTheWindowAlone) {
    std::string content = "H\r\n%T\tPOBS\r\n";
    for (int i = 0; i < 5000; ++i)
        content += "%R\t" + std::to_string(i) + "\r\n";
    fake.files.files[kPath] = content + "%E\r\n";
    struct StoppingPump final : EventPump {
        int calls = 0;
        void processEvents() override { ++calls; }
        bool stopRequested() const override { return calls >= 10; }
    } pump;
    Platform platform{fake.files, fake.boxes, pump, fake.pointer};
    state.CurrentXerPath = kPath;
    window.resultsText = "before";
    EXPECT_EQ(PerformSurvey(state, window, platform), SurveyOutcome::Stopped);
    EXPECT_LT(pump.calls, 1000);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_NE(window.resultsText, reportOf(state.PobsRecordCount, 0));
    EXPECT_FALSE(window.purgeEnabled);
    EXPECT_EQ(fake.files.openHandles, 0);
}

} // namespace
} // namespace zembrel
