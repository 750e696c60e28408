#include "xer/Purge.h"
#include "BlockSizes.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

namespace zembrel::xer {
namespace {

using test::crlf;
using Op = test::FakeFileSystem::Op;
using Names = std::vector<std::string>;

const std::string kFolder = "/jobs";
const std::string kPath = "/jobs/PLAN.XER";
const std::string kNew = "/jobs/PLAN-POBS.XER";
const std::string kTemp = "/jobs/Temp.TXT";

class RecordedPrompts final : public PromptPlayer {
public:
    std::vector<int> played;
    void play(std::int16_t number) override { played.push_back(number); }
};

std::string reportOf(int pobs, int riskTypes) {
    return "Number of POBS Records Removed: " + std::to_string(pobs) +
           ".\r\nNumber of Risk Types removed: " + std::to_string(riskTypes) + ".";
}

class PurgeTest : public ::testing::TestWithParam<std::size_t> {
protected:
    PurgeTest() {
        fake.platform.blockSize = GetParam();
        fake.files.folders.insert(kFolder);
        state.CurrentXerPath = kPath;
        state.CurrentXerName = "Plan.xer";
    }
    // Surveys the file as the window does, then purges it.
    PurgeOutcome surveyAndPurge(const std::string& content) {
        fake.files.files[kPath] = content;
        state.CurrentXerPath = kPath;
        state.CurrentXerName = "Plan.xer";
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
        return outcome;
    }
    std::string newFile() { return fake.files.files.at(kNew); }

    test::FakePlatform fake;
    test::FakeSurface window;
    RecordedPrompts prompts;
    AppState state;
};

INSTANTIATE_TEST_SUITE_P(Blocks, PurgeTest, ::testing::ValuesIn(test::kBlockSizes),
                         test::blockSizeName);

TEST_P(PurgeTest, LeavesOutEveryPobsTableAndKeepsEveryOtherLineInOrder) {
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
              reportOf(3, 0) +
                  "\r\n\r\nA new import file has been created called\r\nPlan-POBS.xer");
    EXPECT_EQ(state.CurrentXerPath, kNew);
    EXPECT_EQ(state.CurrentXerName, "Plan-POBS.xer");
    EXPECT_EQ(window.fileName, "Plan-POBS.xer");
    EXPECT_EQ(prompts.played, (std::vector<int>{47, 51}));
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(fake.pointer.changes, (std::vector<bool>{true, false}));
    EXPECT_EQ(fake.files.files.size(), 2u);
}

const std::string kRiskTypeTable = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n"
                                   "%R\tA\t1\tTechnical\r\n%R\tB\t2\tCost\r\n%R\tC\t3\tTime\r\n";
const std::string kKeptHead = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n";

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

struct Purged {
    const char* what;
    std::string input;
    std::string output;
    int pobs;      // POBS records removed
    int riskTypes; // risk types removed
    Names referenced;
};

TEST_P(PurgeTest, WritesTheInputWithoutPobsAndUnusedRiskTypes) {
    const std::string projrisk6 =
        crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tA\t",
              "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tZ\t", "%E"});
    const Purged cases[] = {
        {"a POBS table ended by a POBS table line keeps the second",
         crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tPOBS", "%F", "%R\t2", "%E"}),
         crlf({"H", "%T\tPOBS", "%F", "%R\t2", "%E"}),
         1,
         0,
         {}},
        {"a trailing TAB or lower case is no POBS table line",
         crlf({"H", "%T\tPOBS", "%R\t1", "%E", "%T\tPOBS\t", "%R\t2", "%T\tpobs", "%R\t3", "%E"}),
         crlf({"H", "%E", "%T\tPOBS\t", "%R\t2", "%T\tpobs", "%R\t3", "%E"}),
         1,
         0,
         {}},
        {"the end line as the file's last line",
         "H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E",
         "H\r\n%E\r\n",
         1,
         0,
         {}},
        {"line ends of any kind come out as CR LF",
         "ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%T\tTASK\r%R\tx\r\n%E\n",
         crlf({"ERMHDR", "%T\tTASK", "%R\tx", "%E"}),
         1,
         0,
         {}},
        {"without field names the risk type is data field 6",
         "ERMHDR\r\n" + kRiskTypeTable + projrisk6,
         "ERMHDR\r\n" + kKeptHead + "%R\tA\t1\tTechnical\r\n%R\tC\t3\tTime\r\n" + projrisk6,
         0,
         1,
         {"C", "A", "Z"}},
        {"without any risk the whole table goes",
         "H\r\n" + kRiskTypeTable + crlf({"%T\tTASK", "%R\t1", "%E"}),
         crlf({"H", "%T\tTASK", "%R\t1", "%E"}),
         0,
         3,
         {}},
        {"a reference to no risk type keeps the table's head",
         "H\r\n" + kRiskTypeTable + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tQ\t", "%E"}),
         "H\r\n" + kKeptHead + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tQ\t", "%E"}),
         0,
         3,
         {"Q"}},
        {"real exports: by column name, with parents; a risk named 5 keeps nothing",
         "ERMHDR\r\n" + kRealRiskTypes + kRealRisks + "%E\r\n",
         "ERMHDR\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\tparent_risk_type_id\r\n"
         "%R\t1\t0\tTechnical\t\r\n%R\t2\t1\tDesign\t1\r\n%R\t3\t2\tDrawings\t2\r\n"
         "%R\t4\t3\tCommercial\t\r\n" +
             kRealRisks + "%E\r\n",
         0,
         1,
         {"3", "4", "2", "1"}},
        {"parents that point at each other",
         "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n%R\t1\t2\r\n%R\t2\t1\r\n"
         "%R\t3\t3\r\n%R\t4\t\r\n" +
             crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t9\t3", "%R\t8\t2", "%E"}),
         "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n%R\t1\t2\r\n%R\t2\t1\r\n"
         "%R\t3\t3\r\n" +
             crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t9\t3", "%R\t8\t2", "%E"}),
         0,
         1,
         {"3", "2", "1"}},
        {"PRORISK counts by column name only",
         "H\r\n" + kRiskTypeTable +
             crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\tB", "%T\tPRORISK",
                   "%F\trisk_id\tname", "%R\t2\tA", "%E"}),
         "H\r\n" + kKeptHead + "%R\tB\t2\tCost\r\n" +
             crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\tB", "%T\tPRORISK",
                   "%F\trisk_id\tname", "%R\t2\tA", "%E"}),
         0,
         2,
         {"B"}},
        {"POBS and risk types together",
         "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n%R\t2\r\n" + kRiskTypeTable + projrisk6,
         "ERMHDR\r\n" + kKeptHead + "%R\tA\t1\tTechnical\r\n%R\tC\t3\tTime\r\n" + projrisk6,
         2,
         1,
         {"C", "A", "Z"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(surveyAndPurge(c.input), PurgeOutcome::Created);
        EXPECT_EQ(newFile(), c.output);
        EXPECT_EQ(window.resultsText.substr(0, 68), reportOf(c.pobs, c.riskTypes));
        EXPECT_EQ(state.ReferencedRiskTypes, c.referenced);
        EXPECT_EQ(state.ReferencedRiskTypeCount, static_cast<int>(c.referenced.size()));
        fake.files.files.erase(kNew);
        fake.files.files.erase(kTemp);
    }
}

TEST_P(PurgeTest, TheIntermediateFileHoldsTheCopyBeforeTheRiskTypesWereFiltered) {
    const std::string input = "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + kRiskTypeTable + "%E\r\n";
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(fake.files.files.at(kTemp), "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    EXPECT_EQ(newFile(), crlf({"ERMHDR", "%E"}));
}

TEST_P(PurgeTest, FieldNamesLinesAcrossABlockBoundaryKeepTheirLastColumn) {
    // The PRORISK field-names line starts 20 bytes before the 256 KiB boundary, RISKTYPE names
    // its parent column last: at every block size some line lies across a boundary.
    std::string input = "ERMHDR\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n"
                        "%R\t1\t\r\n%R\t2\t1\r\n%R\t3\t\r\n%T\tTASK\r\n";
    const std::string record = "%R\t" + std::string(95, 't') + "\r\n";
    while (262'144 - 20 - 12 - input.size() > record.size() + 5)
        input += record;
    input += "%R\t" + std::string(262'144 - 20 - 12 - input.size() - 5, 'p') + "\r\n";
    input += "%T\tPRORISK\r\n";
    ASSERT_EQ(input.size(), 262'144u - 20);
    input += crlf({"%F\trisk_id\trisk_type_id", "%R\t7\t2", "%E"});
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(state.ReferencedRiskTypes, (Names{"2", "1"}));
    EXPECT_NE(newFile().find("%R\t1\t\r\n%R\t2\t1\r\n%T\tTASK"), std::string::npos);
}

TEST_P(PurgeTest, LongIdsAreComparedWholeInBoundedMemory) {
    const std::string longId = std::string(300'000, 'k');
    const std::string nearly = longId.substr(1) + "j"; // same length, one byte apart
    const std::string head = "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n";
    const std::string kept = "%R\t" + longId + "\t" + nearly + "\r\n%R\t" + nearly + "\t\r\n";
    const std::string removed = "%R\t" + longId + "x\t\r\n";
    const std::string risks =
        crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\t" + longId, "%E"});
    EXPECT_EQ(surveyAndPurge(head + kept + removed + risks), PurgeOutcome::Created);
    EXPECT_TRUE(newFile() == head + kept + risks);
    ASSERT_EQ(state.ReferencedRiskTypes.size(), 2u); // the id and its parent
    for (const auto& shown : state.ReferencedRiskTypes)
        EXPECT_LT(shown.size(), 100u) << "a long id is kept as its digest";
    EXPECT_EQ(window.resultsText.substr(0, 68), reportOf(0, 1));
}

TEST_P(PurgeTest, ARecordWithoutItsRiskTypeFailsAndLeavesTheOldCopy) {
    fake.files.files[kNew] = "the user's earlier copy";
    fake.boxes.answers = {MessageAnswer::Yes};
    const struct {
        std::string input;
    } cases[] = {
        {"H\r\n" + kRealRiskTypes + kRealRisks + "%R\t13\tR3\t100\r\n%E\r\n"},
        {"H\r\n" + kRiskTypeTable + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC", "%E"})},
    };
    for (const auto& c : cases) {
        fake.boxes.answers = {MessageAnswer::Yes};
        prompts.played.clear();
        EXPECT_EQ(surveyAndPurge(c.input), PurgeOutcome::Failed);
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
}

TEST_P(PurgeTest, AsksBeforeOverwriting) {
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

TEST_P(PurgeTest, ACurrentFileThatIsGoneOrEmpty) {
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
    state.PobsRecordCount = 0;
    state.RiskTypeRecordCount = 1;
    EXPECT_EQ(purge(), PurgeOutcome::Refused);
    EXPECT_EQ(window.resultsText, "ERROR: File is empty.  No Purged Risk Types file was created.");
    EXPECT_EQ(fake.files.files.count(kNew), 0u);
}

TEST_P(PurgeTest, OnlyIntermediatesOfOursAreReplaced) {
    const std::string input = "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n";
    fake.files.files[kTemp] = "my notes";
    fake.files.files["/jobs/Temp-2.TXT"] = "more notes";
    fake.files.folders.insert("/jobs/Temp-3.TXT");
    fake.files.files["/jobs/Temp-4.TXT"] = "ERMHDR\tof another user";
    fake.files.failWith = [](Op op, const std::string& path, std::uint64_t) {
        return op == Op::Keep && path.ends_with("Temp-4.TXT") ? std::optional(makeFailure(70))
                                                              : std::nullopt;
    };
    surveyAndPurge(input);
    EXPECT_EQ(fake.files.files[kTemp], "my notes");
    EXPECT_EQ(fake.files.files["/jobs/Temp-2.TXT"], "more notes");
    EXPECT_EQ(fake.files.files["/jobs/Temp-4.TXT"], "ERMHDR\tof another user");
    EXPECT_EQ(fake.files.files.at("/jobs/Temp-5.TXT"), input);
    // An earlier intermediate (XER text, after a UTF-8 mark too) is replaced.
    fake.files.failWith = nullptr;
    fake.files.files.erase("/jobs/Temp-5.TXT");
    fake.files.files[kTemp] = "\xef\xbb\xbf"
                              "ERMHDR\tearlier run";
    surveyAndPurge(input);
    EXPECT_EQ(fake.files.files[kTemp], input);
}

TEST_P(PurgeTest, ACurrentFileNamedLikeTheIntermediateIsNotTouched) {
    state.CurrentXerPath = kTemp;
    state.CurrentXerName = "Temp.TXT";
    fake.files.files[kTemp] = "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n";
    PerformSurvey(state, window, fake.platform);
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(fake.files.files[kTemp], "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n");
    EXPECT_EQ(fake.files.files.count("/jobs/Temp-POBS.TXT"), 1u);
    EXPECT_EQ(fake.files.files.count("/jobs/Temp-2.TXT"), 1u);
}

TEST_P(PurgeTest, NewNamesGoBeforeTheLastFourCharactersButNotIntoTheFolder) {
    const struct {
        std::string path, name, newPath, newName;
    } cases[] = {
        {"/jobs/PLAN.XE", "Plan.xe", "/jobs/PLA-POBSN.XE", "Pla-POBSn.xe"},
        {"/jobs/AB", "AB", "/jobs/-POBSAB", "-POBSAB"},
    };
    for (const auto& c : cases) {
        state.CurrentXerPath = c.path;
        state.CurrentXerName = c.name;
        fake.files.files[c.path] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
        PerformSurvey(state, window, fake.platform);
        EXPECT_EQ(purge(), PurgeOutcome::Created);
        EXPECT_EQ(state.CurrentXerPath, c.newPath);
        EXPECT_EQ(state.CurrentXerName, c.newName);
    }
}

TEST_P(PurgeTest, FailuresLeaveNothingUnderTheNewNameAndTheInputAsItWas) {
    // The risk-type passes run too: every file of the purge is concerned.
    const std::string risks =
        kRiskTypeTable + "%E\r\n" + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"});
    const std::string withPobs = "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + risks;
    const std::string withoutPobs = "ERMHDR\r\n" + risks; // copied, not walked
    using Hook = std::function<std::optional<Failure>(Op, const std::string&, std::uint64_t)>;
    const auto at = [](Op which, int number, std::uint64_t from = 0) -> Hook {
        return [=](Op op, const std::string&, std::uint64_t offset) {
            return op == which && offset >= from ? std::optional(makeFailure(number))
                                                 : std::nullopt;
        };
    };
    // The input loses its end while it is read.
    const Hook shrink = [this](Op op, const std::string& path, std::uint64_t) {
        if (op == Op::Read && path == kPath)
            fake.files.files[kPath].resize(20);
        return std::optional<Failure>();
    };
    const struct {
        const char* what;
        Hook hook;
        int number;
        const std::string& input;
    } cases[] = {
        {"the folder is not writable", at(Op::CreateScratch, 70), 70, withPobs},
        {"the disk fills up", at(Op::Write, 61, 40), 61, withPobs},
        {"the disk fills up while copying", at(Op::Write, 61, 40), 61, withoutPobs},
        {"a read fails", at(Op::Read, 57, 20), 57, withPobs},
        {"the new file cannot be put in place",
         [](Op op, const std::string& path, std::uint64_t) {
             return op == Op::Keep && path == kNew ? std::optional(makeFailure(75)) : std::nullopt;
         },
         75, withPobs},
        {"the input shrinks during the POBS pass", shrink, 62, withPobs},
        {"the input shrinks during the copy", shrink, 62, withoutPobs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.files[kNew] = "kept";
        fake.files.files[kPath] = c.input;
        PerformSurvey(state, window, fake.platform);
        fake.boxes.shown.clear();
        fake.files.failWith = c.hook;
        EXPECT_EQ(purge(), PurgeOutcome::Failed);
        EXPECT_TRUE(
            fake.boxes.shown.back().text.starts_with("ERROR #" + std::to_string(c.number) + ", "))
            << fake.boxes.shown.back().text;
        EXPECT_EQ(fake.files.files[kNew], "kept");
        fake.files.failWith = nullptr;
        fake.files.files.erase(kTemp);
        EXPECT_EQ(fake.files.files.size(), 2u);
    }
}

TEST_P(PurgeTest, ANewNameTakenByAFolderFailsBeforeAnythingIsRead) {
    fake.files.folders.insert(kNew);
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
    PerformSurvey(state, window, fake.platform);
    fake.files.bytesRead = 0;
    EXPECT_EQ(purge(), PurgeOutcome::Failed);
    EXPECT_EQ(fake.boxes.shown.back().text,
              "ERROR #75, Path/File access error occured.  New file not created.");
    EXPECT_EQ(fake.files.bytesRead, 0u);
    EXPECT_TRUE(fake.files.folders.count(kNew));
}

TEST_P(PurgeTest, ASubByteMetWhilePurgingIsAFailure) {
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%R\t1", "%E"});
    PerformSurvey(state, window, fake.platform);
    fake.files.files[kPath] = crlf({"H", "%T\tPOBS", "%R\t\x1a", "%E"}); // damaged since
    EXPECT_EQ(purge(), PurgeOutcome::Failed);
    EXPECT_EQ(window.resultsText,
              "ERROR #62, Input past end of file occured.  New file not creaed.");
}

TEST_P(PurgeTest, LongLinesPassThroughWhole) {
    if (GetParam() < 1024)
        GTEST_SKIP() << "lines of megabytes, byte by byte, take too long for what they add";
    const std::string longRecord = "%R\t" + std::string(3 << 20, 'x');     // streamed
    const std::string longSpaces = std::string(2 << 20, ' ') + "%T\tTASK"; // held back
    const std::string longPobs = "%R\t" + std::string(3 << 20, 'p');       // left out
    const std::string longType = "%R\tA\t" + std::string(3 << 20, 't');    // kept, read again
    const std::string input =
        crlf({"H", longSpaces, longRecord, "%T\tPOBS", longPobs, "%E", "%T\tRISKTYPE", longType,
              "%R\tB\tx", "%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"});
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(newFile(), crlf({"H", longSpaces, longRecord, "%E", "%T\tRISKTYPE", longType,
                               "%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"}));
}

TEST_P(PurgeTest, ClosingTheProgramStopsAPurgeWithoutLeavingAFile) {
    std::string content = "H\r\n%T\tPOBS\r\n%R\t1\r\n%E\r\n";
    for (int i = 0; i < 5000; ++i)
        content += "%R\t" + std::to_string(i) + "\r\n";
    fake.files.files[kPath] = content;
    PerformSurvey(state, window, fake.platform);
    fake.events.stopAfter = fake.events.calls + 10;
    EXPECT_EQ(purge(), PurgeOutcome::Stopped);
    EXPECT_LT(fake.events.calls, fake.events.stopAfter + 1000);
    EXPECT_EQ(fake.files.files.size(), 1u);
}

} // namespace
} // namespace zembrel::xer
