#include "xer/Purge.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using test::crlf;

const std::string kFolder = "/jobs";
const std::string kPath = "/jobs/PLAN.XER";
const std::string kNew = "/jobs/PLAN-POBS.XER";
const std::string kTemp = "/jobs/Temp.TXT";

class RecordedPrompts final : public PromptPlayer {
public:
    std::vector<int> played;
    void play(std::int16_t number) override { played.push_back(number); }
};

class PurgeTest : public ::testing::Test {
protected:
    PurgeTest() {
        fake.files.folders.insert(kFolder);
        state.CurrentXerPath = kPath;
        state.CurrentXerName = "Plan.xer";
    }
    // Surveys the file as the window does, then purges it.
    PurgeOutcome surveyAndPurge(const std::string& content) {
        fake.files.files[kPath] = content;
        PerformSurvey(state, window, fake.platform);
        fake.boxes.shown.clear();
        return purge();
    }
    PurgeOutcome purge() {
        window.purgeEnabled = true;
        window.doneEnabled = true;
        const auto outcome = Purge(state, window, fake.platform, prompts);
        // Whatever happened: the ending restores the buttons and the pointer.
        EXPECT_EQ(window.purgeCaption, "Purge");
        EXPECT_FALSE(window.purgeEnabled);
        EXPECT_TRUE(window.doneEnabled);
        EXPECT_FALSE(fake.pointer.busy);
        EXPECT_EQ(fake.files.openHandles, 0);
        for (const auto& [name, data] : fake.files.files)
            EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
        return outcome;
    }
    std::string newFile() { return fake.files.files.at(kNew); }

    test::FakePlatform fake;
    test::FakeSurface window;
    RecordedPrompts prompts;
    AppState state;
};

TEST_F(PurgeTest, LeavesOutEveryPobsTableAndKeepsEveryOtherLineInOrder) {
    const std::string input =
        "ERMHDR\t8.0\r\n%T\tOBS\r\n%F\tobs_id\r\n%R\t1\r\n"
        "  %T\tPOBS \r\n%F\tpobs_id\r\n%R\t1\r\n%R\t2\r\n"
        "%T\tTASK\r\n%F\ttask_id\r\n%R\t7\tD\xe9molition\x7f\x7fnext\r\n" // cp1252 and DEL DEL
        "%T\tPOBS\r\n%F\tpobs_id\r\n%R\t3\r\n%E\r\n";
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(newFile(), "ERMHDR\t8.0\r\n%T\tOBS\r\n%F\tobs_id\r\n%R\t1\r\n"
                         "%T\tTASK\r\n%F\ttask_id\r\n%R\t7\tD\xe9molition\x7f\x7fnext\r\n%E\r\n");
    EXPECT_EQ(fake.files.files[kPath], input);    // the current file is never changed
    EXPECT_EQ(fake.files.files.count(kTemp), 0u); // no risk types: no intermediate file
    EXPECT_EQ(window.resultsText,
              "Number of POBS Records Removed: 3.\r\nNumber of Risk Types removed: 0.\r\n\r\n"
              "A new import file has been created called\r\nPlan-POBS.xer");
    EXPECT_EQ(state.CurrentXerPath, kNew);
    EXPECT_EQ(state.CurrentXerName, "Plan-POBS.xer");
    EXPECT_EQ(window.fileName, "Plan-POBS.xer");
    EXPECT_EQ(prompts.played, (std::vector<int>{47, 51}));
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(fake.pointer.changes, (std::vector<bool>{true, false}));
}

TEST_F(PurgeTest, WalksTablesAsTheLayoutSays) {
    // A POBS table whose ending line opens a second POBS table: that one is kept.
    surveyAndPurge(crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tPOBS", "%F", "%R\t2", "%E"}));
    EXPECT_EQ(newFile(), crlf({"H", "%T\tPOBS", "%F", "%R\t2", "%E"}));
    EXPECT_EQ(state.PobsRecordCount, 1);
    // Table lines with a trailing TAB or in lower case are not POBS table lines.
    state.CurrentXerPath = kPath;
    surveyAndPurge(
        crlf({"H", "%T\tPOBS", "%R\t1", "%E", "%T\tPOBS\t", "%R\t2", "%T\tpobs", "%R\t3", "%E"}));
    EXPECT_EQ(newFile(), crlf({"H", "%E", "%T\tPOBS\t", "%R\t2", "%T\tpobs", "%R\t3", "%E"}));
    // A POBS table that is the last table, followed by the end line as the file's last line.
    state.CurrentXerPath = kPath;
    EXPECT_EQ(surveyAndPurge("H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E"), PurgeOutcome::Created);
    EXPECT_EQ(newFile(), "H\r\n%E\r\n");
}

TEST_F(PurgeTest, LineEndsOfAnyKindComeOutAsCrLf) {
    surveyAndPurge("ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%T\tTASK\r%R\tx\r\n%E\n");
    EXPECT_EQ(newFile(), crlf({"ERMHDR", "%T\tTASK", "%R\tx", "%E"}));
}

const std::string kRiskTypeTable = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n"
                                   "%R\tA\t1\tTechnical\r\n%R\tB\t2\tCost\r\n%R\tC\t3\tTime\r\n";

TEST_F(PurgeTest, KeepsTheRiskTypesThatRisksReferTo) {
    // Without field names of its own the risk type is data field 6.
    const std::string input =
        "ERMHDR\r\n" + kRiskTypeTable +
        crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tA\t",
              "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tZ\t", "%E"});
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(newFile(),
              "ERMHDR\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n"
              "%R\tA\t1\tTechnical\r\n%R\tC\t3\tTime\r\n" +
                  crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tA\t",
                        "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tZ\t", "%E"}));
    EXPECT_EQ(state.ReferencedRiskTypes, (std::vector<std::string>{"C", "A", "Z"}));
    EXPECT_EQ(state.ReferencedRiskTypeCount, 3);
    EXPECT_EQ(state.RiskTypeRecordCount, 3);
    EXPECT_EQ(window.resultsText.substr(0, 68),
              "Number of POBS Records Removed: 0.\r\nNumber of Risk Types removed: 1.");
    // The intermediate file holds the copy as it stood before the risk types were filtered.
    EXPECT_EQ(fake.files.files.at(kTemp), input);
}

TEST_F(PurgeTest, WithoutAnyRiskTheWholeRiskTypeTableGoes) {
    surveyAndPurge("H\r\n" + kRiskTypeTable + crlf({"%T\tTASK", "%R\t1", "%E"}));
    EXPECT_EQ(newFile(), crlf({"H", "%T\tTASK", "%R\t1", "%E"}));
    EXPECT_EQ(window.resultsText.substr(0, 68),
              "Number of POBS Records Removed: 0.\r\nNumber of Risk Types removed: 3.");
    // A reference that matches no risk type keeps the table's head and no record.
    state.CurrentXerPath = kPath;
    surveyAndPurge("H\r\n" + kRiskTypeTable +
                   crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tQ\t", "%E"}));
    EXPECT_EQ(newFile(), "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n" +
                             crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tQ\t", "%E"}));
}

// Field names as real exports write them: the risk type is data field 7, risk types have
// parents, and RISKTYPE stands directly before PROJRISK.
const std::string kRealRiskTypes =
    "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\tparent_risk_type_id\r\n"
    "%R\t1\t0\tTechnical\t\r\n%R\t2\t1\tDesign\t1\r\n%R\t3\t2\tDrawings\t2\r\n"
    "%R\t4\t3\tCommercial\t\r\n%R\t5\t4\tWeather\t\r\n";
const std::string kRealRisks =
    "%T\tPROJRISK\r\n%F\trisk_id\trisk_code\tproj_id\tadd_date\tstatus_code\trisk_name\t"
    "risk_type_id\trsrc_id\trisk_desc\r\n"
    "%R\t11\tR1\t100\t2026-01-01\tRS_Open\tLate drawings\t3\t\tdesc\r\n"
    "%R\t12\tR2\t100\t2026-01-01\tRS_Open\t5\t4\t\t\r\n";

TEST_F(PurgeTest, RiskTypesOfRealExportsAreFoundByColumnNameWithTheirParents) {
    surveyAndPurge("ERMHDR\r\n" + kRealRiskTypes + kRealRisks + "%E\r\n");
    // Drawings (3) and its parents Design (2) and Technical (1), and Commercial (4), stay;
    // Weather (5) goes although one risk's name is "5".
    EXPECT_EQ(newFile(), "ERMHDR\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\t"
                         "parent_risk_type_id\r\n%R\t1\t0\tTechnical\t\r\n%R\t2\t1\tDesign\t1\r\n"
                         "%R\t3\t2\tDrawings\t2\r\n%R\t4\t3\tCommercial\t\r\n" +
                             kRealRisks + "%E\r\n");
    EXPECT_EQ(state.ReferencedRiskTypes, (std::vector<std::string>{"3", "4", "2", "1"}));
    EXPECT_EQ(window.resultsText.substr(0, 68),
              "Number of POBS Records Removed: 0.\r\nNumber of Risk Types removed: 1.");
}

TEST_F(PurgeTest, ParentsThatPointAtEachOtherDoNotHang) {
    const std::string types = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\t"
                              "parent_risk_type_id\r\n%R\t1\t0\tA\t2\r\n%R\t2\t0\tB\t1\r\n"
                              "%R\t3\t0\tC\t3\r\n%R\t4\t0\tD\t\r\n";
    surveyAndPurge("H\r\n" + types + kRealRisks.substr(0, kRealRisks.find("%R\t12")) +
                   "%R\t12\tR2\t100\t2026-01-01\tRS_Open\tx\t2\t\t\r\n%E\r\n");
    EXPECT_EQ(state.ReferencedRiskTypes, (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_NE(newFile().find("%R\t1\t0\tA\t2\r\n%R\t2\t0\tB\t1\r\n%R\t3\t0\tC\t3\r\n"),
              std::string::npos);
    EXPECT_EQ(newFile().find("\tD\t"), std::string::npos);
}

TEST_F(PurgeTest, NewerRiskTablesCountByColumnNameOnly) {
    surveyAndPurge("H\r\n" + kRiskTypeTable +
                   crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\tB", "%T\tPRORISK",
                         "%F\trisk_id\tname", "%R\t2\tA", "%E"}));
    EXPECT_EQ(state.ReferencedRiskTypes, (std::vector<std::string>{"B"}));
    EXPECT_NE(newFile().find("%R\tB\t2\tCost"), std::string::npos);
    EXPECT_EQ(newFile().find("%R\tA\t1"), std::string::npos);
}

TEST_F(PurgeTest, ARecordWithoutItsRiskTypeFailsAndLeavesNothingUnderTheNewName) {
    fake.files.files[kNew] = "the user's earlier copy";
    fake.boxes.answers = {MessageAnswer::Yes};
    fake.files.files[kPath] = "H\r\n" + kRealRiskTypes + kRealRisks + "%R\t13\tR3\t100\r\n%E\r\n";
    PerformSurvey(state, window, fake.platform);
    fake.boxes.shown.clear();
    EXPECT_EQ(purge(), PurgeOutcome::Failed);
    ASSERT_EQ(fake.boxes.shown.size(), 2u); // the overwrite question, then the failure
    EXPECT_EQ(fake.boxes.shown[1].text,
              "ERROR #5, Invalid procedure call or argument occured.  New file not created.");
    EXPECT_EQ(fake.boxes.shown[1].icon, MessageIcon::None);
    EXPECT_EQ(fake.boxes.shown[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(window.resultsText,
              "ERROR #5, Invalid procedure call or argument occured.  New file not creaed.");
    EXPECT_EQ(fake.files.files[kNew], "the user's earlier copy");
    EXPECT_EQ(state.CurrentXerPath, kPath);
    EXPECT_EQ(prompts.played, (std::vector<int>{47}));
}

TEST_F(PurgeTest, TheFixedFieldNeedsTheTabAfterIt) {
    surveyAndPurge("H\r\n" + kRiskTypeTable + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC", "%E"}));
    EXPECT_EQ(window.resultsText,
              "ERROR #5, Invalid procedure call or argument occured.  New file not creaed.");
    EXPECT_EQ(fake.files.files.count(kNew), 0u);
}

TEST_F(PurgeTest, AskingBeforeOverwriting) {
    fake.files.files[kNew] = "old";
    fake.boxes.answers = {MessageAnswer::No};
    EXPECT_EQ(surveyAndPurge(crlf({"H", "%T\tPOBS", "%R\t1", "%E"})), PurgeOutcome::Declined);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text,
              "A POBS-free file " + kNew + "\r\nalready exists.  Is it OK to overwrite?");
    EXPECT_EQ(fake.boxes.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(window.resultsText,
              "File " + kPath + " not read.\r\nFile " + kNew + " already exists.");
    EXPECT_EQ(fake.files.files[kNew], "old");
    EXPECT_EQ(prompts.played, (std::vector<int>{47}));
    EXPECT_EQ(state.CurrentXerPath, kPath);

    fake.boxes.answers = {MessageAnswer::Yes};
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(fake.files.files[kNew], crlf({"H", "%E"}));
}

TEST_F(PurgeTest, ACurrentFileThatIsGoneOrEmpty) {
    state.PobsRecordCount = 2;
    window.resultsText = "the survey's report";
    EXPECT_EQ(purge(), PurgeOutcome::Refused);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, "ERROR! File not found.");
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.resultsText, "the survey's report");
    EXPECT_EQ(prompts.played, (std::vector<int>{47}));

    fake.files.files[kPath] = ""; // emptied after the survey
    EXPECT_EQ(purge(), PurgeOutcome::Refused);
    EXPECT_EQ(window.resultsText, "ERROR: File is empty.  No Purged POBS file was created.");
    EXPECT_EQ(fake.files.files.count(kNew), 0u);
}

TEST_F(PurgeTest, ATempFileOfTheUsersIsNeverReplaced) {
    fake.files.files[kTemp] = "my notes";
    fake.files.files["/jobs/Temp-2.TXT"] = "more notes";
    surveyAndPurge("ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    EXPECT_EQ(fake.files.files[kTemp], "my notes");
    EXPECT_EQ(fake.files.files["/jobs/Temp-2.TXT"], "more notes");
    EXPECT_EQ(fake.files.files.at("/jobs/Temp-3.TXT"), "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    // An earlier intermediate file (an XER copy) is replaced as before.
    fake.files.files.erase("/jobs/Temp-3.TXT");
    fake.files.files[kTemp] = "ERMHDR\tearlier run";
    state.CurrentXerPath = kPath;
    surveyAndPurge("ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    EXPECT_EQ(fake.files.files[kTemp], "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
}

TEST_F(PurgeTest, ACurrentFileNamedLikeTheIntermediateIsNotTouched) {
    state.CurrentXerPath = kTemp;
    state.CurrentXerName = "Temp.TXT";
    fake.files.files[kTemp] = "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n";
    PerformSurvey(state, window, fake.platform);
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(fake.files.files[kTemp], "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    EXPECT_EQ(fake.files.files.count("/jobs/Temp-POBS.TXT"), 1u);
    EXPECT_EQ(fake.files.files.count("/jobs/Temp-2.TXT"), 1u);
}

TEST_F(PurgeTest, NewNamesGoBeforeTheLastFourCharactersButNotIntoTheFolder) {
    state.CurrentXerPath = "/jobs/PLAN.XE";
    state.CurrentXerName = "Plan.xe";
    fake.files.files[state.CurrentXerPath] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
    PerformSurvey(state, window, fake.platform);
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(state.CurrentXerPath, "/jobs/PLA-POBSN.XE");
    EXPECT_EQ(state.CurrentXerName, "Pla-POBSn.xe");

    state.CurrentXerPath = "/jobs/AB";
    state.CurrentXerName = "AB";
    fake.files.files[state.CurrentXerPath] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
    PerformSurvey(state, window, fake.platform);
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(state.CurrentXerPath, "/jobs/-POBSAB");
}

TEST_F(PurgeTest, FailuresOfTheFileSystemLeaveNoPartialFile) {
    const std::string input = "ERMHDR\r\n" + kRiskTypeTable + "%T\tPOBS\r\n%R\t1\r\n%E\r\n";
    struct Case {
        const char* what;
        std::function<void(test::FakeFileSystem&)> arrange;
        int number;
    };
    const std::vector<Case> cases = {
        {"folder not writable", [](auto& fs) { fs.failCreate = makeFailure(70); }, 70},
        {"disk fills up", [&](auto& fs) { fs.capacity = input.size() + 40; }, 61},
        {"read fails",
         [](auto& fs) {
             fs.failReadAfter = {{20, makeFailure(57)}};
         },
         57},
        {"rename fails", [](auto& fs) { fs.failRename = makeFailure(75); }, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakePlatform fresh;
        fresh.files.folders.insert(kFolder);
        fresh.files.files[kPath] = input;
        fresh.files.files[kNew] = "kept";
        AppState s;
        s.CurrentXerPath = kPath;
        s.CurrentXerName = "Plan.xer";
        test::FakeSurface w;
        PerformSurvey(s, w, fresh.platform);
        c.arrange(fresh.files);
        EXPECT_EQ(Purge(s, w, fresh.platform, prompts), PurgeOutcome::Failed);
        EXPECT_TRUE(
            fresh.boxes.shown.back().text.starts_with("ERROR #" + std::to_string(c.number) + ", "))
            << fresh.boxes.shown.back().text;
        EXPECT_EQ(fresh.files.files[kNew], "kept");
        EXPECT_EQ(fresh.files.files[kPath], input);
        EXPECT_EQ(fresh.files.openHandles, 0);
        for (const auto& [name, data] : fresh.files.files)
            EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
        EXPECT_EQ(w.purgeCaption, "Purge");
        EXPECT_TRUE(w.doneEnabled);
    }
}

TEST_F(PurgeTest, ANewNameTakenByAFolderFailsCleanly) {
    fake.files.folders.insert(kNew);
    EXPECT_EQ(surveyAndPurge(crlf({"H", "%T\tPOBS", "%R\t1", "%E"})), PurgeOutcome::Failed);
    EXPECT_EQ(fake.boxes.shown.back().text,
              "ERROR #75, Path/File access error occured.  New file not created.");
    EXPECT_TRUE(fake.files.folders.count(kNew));
}

TEST_F(PurgeTest, ASubByteMetWhilePurgingIsAFailure) {
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
    PerformSurvey(state, window, fake.platform);
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%R\t\x1a", "%E"}); // damaged since
    EXPECT_EQ(purge(), PurgeOutcome::Failed);
    EXPECT_EQ(window.resultsText,
              "ERROR #62, Input past end of file occured.  New file not creaed.");
}

TEST_F(PurgeTest, LongLinesPassThroughWhole) {
    const std::string longRecord = "%R\t" + std::string(3 << 20, 'x');     // streamed
    const std::string longSpaces = std::string(2 << 20, ' ') + "%T\tTASK"; // held back
    const std::string longPobs = "%R\t" + std::string(3 << 20, 'p');       // left out
    const std::string longType = "%R\tA\t" + std::string(3 << 20, 't');    // kept, re-read
    const std::string input =
        crlf({"H", longSpaces, longRecord, "%T\tPOBS", longPobs, "%E", "%T\tRISKTYPE", longType,
              "%R\tB\tx", "%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"});
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(newFile(), crlf({"H", longSpaces, longRecord, "%E", "%T\tRISKTYPE", longType,
                               "%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"}));
}

TEST_F(PurgeTest, ClosingTheProgramStopsAPurgeWithoutLeavingAFile) {
    std::string content = "H\r\n%T\tPOBS\r\n%R\t1\r\n%E\r\n";
    for (int i = 0; i < 5000; ++i)
        content += "%R\t" + std::to_string(i) + "\r\n";
    fake.files.files[kPath] = content;
    PerformSurvey(state, window, fake.platform);
    struct StoppingPump final : EventPump {
        int calls = 0;
        void processEvents() override { ++calls; }
        bool stopRequested() const override { return calls > 10; }
    } pump;
    Platform platform{fake.files, fake.boxes, pump, fake.pointer};
    EXPECT_EQ(Purge(state, window, platform, prompts), PurgeOutcome::Stopped);
    EXPECT_LT(pump.calls, 1000);
    EXPECT_EQ(fake.files.files.count(kNew), 0u);
    EXPECT_EQ(fake.files.files.size(), 1u);
    EXPECT_TRUE(window.doneEnabled);
}

} // namespace
} // namespace zembrel
