#include "xer/Purge.h"
#include "BlockSuite.h"
#include "BoundaryLayout.h"
#include "fakes/FakeObserver.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zembrel::xer {
namespace {

using test::crlf;
const std::string& kPath = test::kPlanPath;
const std::string kNew = "/jobs/PLAN-POBS.XER";
const std::string kTemp = "/jobs/Temp.TXT";

// What the purge says at its end: the records removed, and the new file's name as shown.
std::string purged(int pobs, int riskTypes, const std::string& name = "Plan-POBS.xer") {
    return "purged " + std::to_string(pobs) + " " + std::to_string(riskTypes) + " " + name;
}

// Field names as old exports write them: the risk type is data field 6.
const std::string kRiskTypeTable = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n"
                                   "%R\tA\t1\tTechnical\r\n%R\tB\t2\tCost\r\n%R\tC\t3\tTime\r\n";
const std::string kKeptHead = "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\r\n";
// Field names as real exports write them: the risk type is data field 7, risk types have
// parents, and RISKTYPE stands directly before PROJRISK (type 5 is used by no risk).
const std::string kRealRiskTypeHead =
    "%T\tRISKTYPE\r\n%F\trisk_type_id\tseq_num\trisk_type\tparent_risk_type_id\r\n"
    "%R\t1\t0\tTechnical\t\r\n%R\t2\t1\tDesign\t1\r\n%R\t3\t2\tDrawings\t2\r\n"
    "%R\t4\t3\tCommercial\t\r\n";
const std::string kRealRisks =
    "%T\tPROJRISK\r\n%F\trisk_id\trisk_code\tproj_id\tadd_date\tstatus_code\trisk_name\t"
    "risk_type_id\trsrc_id\trisk_desc\r\n"
    "%R\t11\tR1\t100\t2026-01-01\tRS_Open\tLate drawings\t3\t\tdesc\r\n"
    "%R\t12\tR2\t100\t2026-01-01\tRS_Open\t5\t4\t\t\r\n";

class PurgeTest : public test::BlockSuite {
protected:
    PurgeTest() {
        fake.files.threads = test::withThreads(GetParam());
        fake.files.folders.insert("/jobs");
    }
    // Surveys content at path as the window does; the purge then starts with no box shown.
    void survey(const std::string& content, const std::string& path = kPath,
                const std::string& name = "Plan.xer") {
        fake.files.files[path] = content;
        state.CurrentXerPath = path;
        state.CurrentXerName = name;
        PerformSurvey(state, fake.platform, log);
        log.clear();
    }
    PurgeOutcome surveyAndPurge(const std::string& content, const std::string& path = kPath,
                                const std::string& name = "Plan.xer") {
        survey(content, path, name);
        return purge();
    }
    PurgeOutcome purge() {
        report = Purge(state, fake.platform, log);
        // Whatever happened: the pointer is normal again and every file is closed.
        EXPECT_FALSE(fake.pointer.busy);
        EXPECT_EQ(fake.files.openHandles, 0);
        return report.outcome;
    }
    test::NoticeLog log;
    PurgeReport report;
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
    EXPECT_EQ(file(kNew), "ERMHDR\t8.0\r\n%T\tOBS\r\n%F\tobs_id\r\n%R\t1\r\n"
                          "%T\tTASK\r\n%F\ttask_id\r\n%R\t7\tD\xe9molition\x7f\x7fnext\r\n%E\r\n");
    EXPECT_EQ(file(kPath), input);          // the current file is never changed
    EXPECT_EQ(fake.files.files.size(), 2u); // no risk types: no intermediate file
    EXPECT_EQ(log.lines, Lines{purged(3, 0)});
    EXPECT_EQ(state.CurrentXerPath, kNew);
    EXPECT_EQ(state.CurrentXerName, "Plan-POBS.xer");
    EXPECT_EQ(report.newFile, kNew);
    EXPECT_EQ(report.newName, "Plan-POBS.xer");
    EXPECT_EQ(report.sizeBefore, input.size());
    EXPECT_EQ(report.sizeAfter, file(kNew).size());
    EXPECT_EQ(fake.pointer.changes, (std::vector<bool>{true, false}));
}

// In a file whose lines end in CR, a lone LF is a byte of its line, whatever follows it, also
// when that line comes first in the intermediate file.
TEST_P(PurgeTest, ALoneLfInsideALineIsKeptAsItIs) {
    const std::string tail = "%T\tPO\n%T\tR\r\nt\n%R\t1\r\n%T\tPROJRISK\r\n%E\r\n";
    const std::string kept = kRealRiskTypeHead + kRealRisks + "%E\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + tail, "ERMHDR\r\n" + tail},
        {"ERMHDR\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\r\n%R\t1\r\n" + tail, "ERMHDR\r\n" + tail},
        {"%T\tPOBS\r\n%R\t1\r\n%T\tPO\n%T\tR\r\n" + kept, "%T\tPO\n%T\tR\r\n" + kept},
        // Without POBS the intermediate is a copy of the input, whose lines end as its first does.
        {"ERMHDR\n" + kept.substr(0, kept.size() - 2) + "\r\r\n", "ERMHDR\r\n" + kept + "\r\n"},
    };
    for (const auto& [input, output] : cases) {
        SCOPED_TRACE(input);
        ASSERT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
        EXPECT_EQ(file(kNew), output);
    }
}

// Runs of lines copied or left out whole: the same file whatever falls on a block boundary.
TEST_P(PurgeTest, ScannedRunsAreCopiedAndLeftOutAsLineByLine) {
    if (GetParam() < 1024)
        GTEST_SKIP() << "the smaller blocks split every line already";
    for (const std::string eol : {"\r\n", "\n"}) {
        for (std::size_t shift = 0; shift <= 70; shift += 3) {
            SCOPED_TRACE((eol == "\n" ? "LF, shift " : "CR LF, shift ") + std::to_string(shift));
            const test::BoundaryLayout layout(shift, eol);
            ASSERT_EQ(surveyAndPurge(layout.text), PurgeOutcome::Created);
            EXPECT_EQ(file(kNew), layout.purged);
            EXPECT_EQ(state.PobsRecordCount, layout.pobs);
        }
    }
}

TEST_P(PurgeTest, WritesTheInputWithoutPobsAndUnusedRiskTypes) {
    const std::string projrisk6 =
        crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tA\t",
              "%R\t1\t2\t3\t4\t5\tC\t", "%R\t1\t2\t3\t4\t5\tZ\t", "%E"});
    const std::string kept6 = kKeptHead + "%R\tA\t1\tTechnical\r\n%R\tC\t3\tTime\r\n" + projrisk6;
    // A PRORISK table without the column refers to nothing, not to data field 6.
    const std::string prorisk =
        crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\tB", "%E", "%T\tPRORISK",
              "%F\trisk_id\tname", "%R\t2\t3\t4\t5\t6\tA\t", "%E"});
    const std::string cycle =
        "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n%R\t1\t2\r\n%R\t2\t1\r\n"
        "%R\t3\t3\r\n";
    const std::string cycleRisks =
        crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t9\t3", "%R\t8\t2", "%E"});
    const std::string unknownRisk = crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tQ\t", "%E"});
    const std::string repeated = "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n"
                                 "%R\tA\tB\r\n%R\tB\t\r\n%R\tC\t\r\n";
    const std::string secondTable = "%T\tTASK\r\n%R\tx\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\t"
                                    "parent_risk_type_id\r\n%R\tA\tC\r\n";
    const std::string repeatedRisk =
        crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t9\tA", "%E"});
    const std::string risksAB = crlf({"%R\t1\t2\t3\t4\t5\tA\t", "%R\t1\t2\t3\t4\t5\tB\t"});
    const struct {
        const char* what;
        std::string input, output;
        int pobs, riskTypes;    // records removed
        std::string referenced; // the risk types referenced, in order
    } cases[] = {
        {"a POBS table ended by a POBS table line keeps the second",
         crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tPOBS", "%F", "%R\t2", "%E"}),
         crlf({"H", "%T\tPOBS", "%F", "%R\t2", "%E"}), 1, 0, ""},
        {"the end line as the file's last line", "H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E",
         "H\r\n%E\r\n", 1, 0, ""},
        {"line ends of any kind come out as CR LF",
         "ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%T\tTASK\r%R\tx\r\n%E\n",
         crlf({"ERMHDR", "%T\tTASK", "%R\tx", "%E"}), 1, 0, ""},
        {"without field names the risk type is data field 6",
         "ERMHDR\r\n" + kRiskTypeTable + projrisk6, "ERMHDR\r\n" + kept6, 0, 1, "C A Z"},
        {"POBS and risk types together",
         "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n%R\t2\r\n" + kRiskTypeTable + projrisk6,
         "ERMHDR\r\n" + kept6, 2, 1, "C A Z"},
        {"without any risk the whole table goes",
         "H\r\n" + kRiskTypeTable + crlf({"%T\tTASK", "%R\t1", "%E"}),
         crlf({"H", "%T\tTASK", "%R\t1", "%E"}), 0, 3, ""},
        {"a reference to no risk type keeps the table's head",
         "H\r\n" + kRiskTypeTable + unknownRisk, "H\r\n" + kKeptHead + unknownRisk, 0, 3, "Q"},
        {"real exports: by column name, with parents; a risk named 5 keeps nothing",
         "ERMHDR\r\n" + kRealRiskTypeHead + "%R\t5\t4\tWeather\t\r\n" + kRealRisks + "%E\r\n",
         "ERMHDR\r\n" + kRealRiskTypeHead + kRealRisks + "%E\r\n", 0, 1, "3 4 2 1"},
        {"parents that point at each other", cycle + "%R\t4\t\r\n" + cycleRisks, cycle + cycleRisks,
         0, 1, "3 2 1"},
        {"PRORISK refers by column name only", "H\r\n" + kRiskTypeTable + prorisk,
         "H\r\n" + kKeptHead + "%R\tB\t2\tCost\r\n" + prorisk, 0, 2, "B"},
        // Every record that declares a kept type keeps its parent, in one table or in two.
        {"a type declared twice keeps both parents",
         repeated + "%R\tD\t\r\n%R\tA\tC\r\n" + repeatedRisk,
         repeated + "%R\tA\tC\r\n" + repeatedRisk, 0, 1, "A B C"},
        {"a type declared in two tables keeps both parents",
         repeated + "%R\tD\t\r\n" + secondTable + repeatedRisk,
         repeated + secondTable + repeatedRisk, 0, 1, "A B C"},
        // The references are those of the intermediate file, whose last line refers to nothing.
        {"a POBS table line as the file's last line ends the intermediate before it",
         "H\r\n%T\tPOBS\r\n%R\t1\r\n" + kRiskTypeTable + "%T\tPROJRISK\r\n" + risksAB + "%T\tPOBS",
         "H\r\n" + kKeptHead + "%R\tA\t1\tTechnical\r\n%T\tPROJRISK\r\n" + risksAB, 1, 2, "A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.files.erase(kNew);
        EXPECT_EQ(surveyAndPurge(c.input), PurgeOutcome::Created);
        EXPECT_EQ(file(kNew), c.output);
        EXPECT_EQ(log.lines, Lines{purged(c.pobs, c.riskTypes)});
        EXPECT_EQ(report.riskTypesReferenced, state.ReferencedRiskTypeCount);
        std::string referenced;
        for (const auto& id : state.ReferencedRiskTypes)
            referenced += (referenced.empty() ? "" : " ") + id;
        EXPECT_EQ(referenced, c.referenced);
        EXPECT_EQ(state.ReferencedRiskTypeCount,
                  static_cast<int>(state.ReferencedRiskTypes.size()));
    }
}

TEST_P(PurgeTest, LongIdsAreComparedWholeInBoundedMemory) {
    const std::string longId = std::string(300'000, 'k');
    const std::string nearly = longId.substr(1) + "j"; // same length, one byte apart
    const std::string head = "H\r\n%T\tRISKTYPE\r\n%F\trisk_type_id\tparent_risk_type_id\r\n";
    const std::string kept = "%R\t" + longId + "\t" + nearly + "\r\n%R\t" + nearly + "\t\r\n";
    const std::string risks =
        crlf({"%T\tPRORISK", "%F\trisk_id\trisk_type_id", "%R\t1\t" + longId, "%E"});
    EXPECT_EQ(surveyAndPurge(head + kept + "%R\t" + longId + "x\t\r\n" + risks),
              PurgeOutcome::Created);
    EXPECT_TRUE(file(kNew) == head + kept + risks);
    ASSERT_EQ(state.ReferencedRiskTypes.size(), 2u); // the id and its parent
    for (const auto& shown : state.ReferencedRiskTypes)
        EXPECT_LT(shown.size(), 100u) << "a long id is kept as its digest";
    EXPECT_EQ(log.lines, Lines{purged(0, 1)});
}

TEST_P(PurgeTest, AsksBeforeOverwriting) {
    file(kNew) = "old";
    log.answers = {false};
    EXPECT_EQ(surveyAndPurge(crlf({"H", "%T\tPOBS", "%R\t1", "%E"})), PurgeOutcome::KeptExisting);
    EXPECT_EQ(log.lines, (Lines{"overwrite " + kNew, "kept " + kNew}));
    EXPECT_EQ(log.notices[1].path, kPath);
    EXPECT_EQ(file(kNew), "old");
    EXPECT_EQ(state.CurrentXerPath, kPath);

    log.answers = {true};
    EXPECT_EQ(purge(), PurgeOutcome::Created);
    EXPECT_EQ(file(kNew), crlf({"H", "%E"}));
}

TEST_P(PurgeTest, ACurrentFileThatIsGoneOrEmpty) {
    state.CurrentXerPath = kPath;
    state.PobsRecordCount = 2;
    EXPECT_EQ(purge(), PurgeOutcome::NotFound);
    EXPECT_EQ(log.lines, Lines{"not found"});
    EXPECT_FALSE(report.reported());

    file(kPath) = ""; // emptied after the survey
    EXPECT_EQ(purge(), PurgeOutcome::Empty);
    state.PobsRecordCount = 0;
    state.RiskTypeRecordCount = 1;
    EXPECT_EQ(purge(), PurgeOutcome::Empty);
    EXPECT_EQ(log.lines, (Lines{"not found", "empty POBS", "empty RISKTYPE"}));
    // Nothing to remove: a report of nothing, and no new file named.
    state.RiskTypeRecordCount = 0;
    EXPECT_EQ(purge(), PurgeOutcome::Nothing);
    EXPECT_EQ(log.lines.back(), "purged 0 0");
    EXPECT_EQ(fake.files.files.count(kNew), 0u);
}

// The intermediate file holds the copy before the risk types were filtered. Files of the user's
// under its name stay: anything but XER text, and the current file itself.
TEST_P(PurgeTest, OnlyIntermediatesOfOursAreReplaced) {
    const std::string input = "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + kRiskTypeTable + "%E\r\n";
    const std::string copy = "ERMHDR\r\n" + kRiskTypeTable + "%E\r\n";
    file(kTemp) = "my notes";
    file("/jobs/Temp-2.TXT") = "more notes";
    fake.files.folders.insert("/jobs/Temp-3.TXT");
    file("/jobs/Temp-4.TXT") = "ERMHDR\tof another user";
    fake.files.failWith = [](Op op, const std::string& path, std::uint64_t) {
        return op == Op::Keep && path.ends_with("Temp-4.TXT") ? std::optional(makeFailure(70))
                                                              : std::nullopt;
    };
    EXPECT_EQ(surveyAndPurge(input), PurgeOutcome::Created);
    EXPECT_EQ(file(kTemp), "my notes");
    EXPECT_EQ(file("/jobs/Temp-2.TXT"), "more notes");
    EXPECT_EQ(file("/jobs/Temp-4.TXT"), "ERMHDR\tof another user");
    EXPECT_EQ(file("/jobs/Temp-5.TXT"), copy);
    EXPECT_EQ(file(kNew), crlf({"ERMHDR", "%E"}));
    // An earlier intermediate (XER text, after a UTF-8 mark too) is replaced.
    fake.files.failWith = nullptr;
    file(kTemp) = "\xef\xbb\xbf"
                  "ERMHDR\tearlier run";
    surveyAndPurge(input);
    EXPECT_EQ(file(kTemp), copy);
    // The current file under that name.
    fake.files.files = {};
    EXPECT_EQ(surveyAndPurge(copy, kTemp, "Temp.TXT"), PurgeOutcome::Created);
    EXPECT_EQ(file(kTemp), copy);
    EXPECT_EQ(file("/jobs/Temp-POBS.TXT"), "ERMHDR\r\n%E\r\n");
    EXPECT_EQ(file("/jobs/Temp-2.TXT"), copy);
}

TEST_P(PurgeTest, NewNamesGoBeforeTheLastFourCharactersButNotIntoTheFolder) {
    const std::array<std::string, 4> cases[] = {
        {"/jobs/PLAN.XE", "Plan.xe", "/jobs/PLA-POBSN.XE", "Pla-POBSn.xe"},
        {"/jobs/AB", "AB", "/jobs/-POBSAB", "-POBSAB"}};
    for (const auto& [path, name, newPath, newName] : cases) {
        EXPECT_EQ(surveyAndPurge(crlf({"H", "%T\tPOBS", "%R\t1", "%E"}), path, name),
                  PurgeOutcome::Created);
        EXPECT_EQ(state.CurrentXerPath, newPath);
        EXPECT_EQ(state.CurrentXerName, newName);
    }
}

// A failure leaves nothing under the new name (an existing file there stays as it was, though
// the user agreed to replace it) and the input as it was. Each file operation failing in turn is
// FaultInjectionTest's; here the messages, and inputs that change or do not fit.
TEST_P(PurgeTest, FailuresLeaveNothingUnderTheNewNameAndTheInputAsItWas) {
    // The risk-type passes run too: every file of the purge is concerned.
    const std::string risks =
        kRiskTypeTable + "%E\r\n" + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"});
    const std::string withPobs = "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + risks;
    const std::string withoutPobs = "ERMHDR\r\n" + risks; // copied, not walked
    // The input changes once the purge has opened it.
    const auto change = [this](std::function<void(std::string&)> how) {
        return [this, how] {
            fake.files.failWith = [this, how](Op op, const std::string& path, std::uint64_t) {
                if (op == Op::Read && path == kPath)
                    how(file(kPath));
                return std::optional<Failure>();
            };
        };
    };
    const auto shrink = change([](std::string& f) { f.resize(20); });
    const auto subAppears =
        change([](std::string& f) { std::replace(f.begin(), f.end(), '1', '\x1a'); });
    const std::string badRisk = "%T\tPROJRISK\r\n%R\tx\r\n" + kRiskTypeTable + "%E\r\n";
    const int invalid = 5;
    const struct {
        const char* what;
        std::string input;
        std::function<void()> arrange;
        int failure;
    } cases[] = {
        {"the disk fills up", withPobs, [&] { fake.files.fail(Op::Write, 61, 40); }, 61},
        {"the input shrinks during the POBS pass", withPobs, shrink, 62},
        {"the input shrinks during the copy", withoutPobs, shrink, 62},
        {"a SUB byte appears in the input", withPobs, subAppears, 62},
        {"a risk without its risk type's column",
         "H\r\n" + kRealRiskTypeHead + kRealRisks + "%R\t13\tR3\t100\r\n%E\r\n", [] {}, invalid},
        {"a risk without data field 6",
         "H\r\n" + kRiskTypeTable + crlf({"%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tC", "%E"}), [] {},
         invalid},
        // The references are taken from the intermediate file once it is written: a failure of
        // the POBS pass comes first, and the copy takes a SUB byte as it comes.
        {"a SUB byte after a risk without its field", "H\r\n%T\tPOBS\r\n%R\tp\r\n" + badRisk,
         subAppears, 62},
        {"a risk without its field before a SUB byte", "H\r\n" + badRisk, subAppears, invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.failWith = nullptr;
        fake.files.files = {{kNew, "kept"}};
        survey(c.input);
        c.arrange();
        EXPECT_EQ(purge(), PurgeOutcome::Failed);
        EXPECT_EQ(log.lines, (Lines{"overwrite " + kNew, "failed #" + std::to_string(c.failure)}));
        EXPECT_EQ(report.failure.number, c.failure);
        EXPECT_FALSE(report.reported());
        EXPECT_EQ(file(kNew), "kept");
        EXPECT_EQ(state.CurrentXerPath, kPath);
        EXPECT_EQ(fake.files.files.size(), 2u); // no intermediate either
    }
}

// Running out of memory ends the file's work with a message like any failure, and leaves
// nothing behind.
TEST_P(PurgeTest, RunningOutOfMemoryIsAFailureLikeAnyOther) {
    const std::string input = "ERMHDR\r\n%T\tPOBS\r\n%R\t1\r\n" + kRealRiskTypeHead + kRealRisks;
    for (const Op op : {Op::Write, Op::ReadBack, Op::Keep}) {
        SCOPED_TRACE(static_cast<int>(op));
        fake.files.failWith = nullptr;
        fake.files.files = {};
        survey(input);
        fake.files.failWith = [op](Op o, const std::string&, std::uint64_t) {
            if (o == op)
                throw std::bad_alloc();
            return std::optional<Failure>();
        };
        EXPECT_EQ(purge(), PurgeOutcome::Failed);
        EXPECT_EQ(log.lines, Lines{"failed #7"});
        EXPECT_EQ(fake.files.files.size(), 1u);
    }
    fake.files.fail(Op::Read, 0); // any read at all throws below
    fake.files.failWith = [](Op o, const std::string&, std::uint64_t) -> std::optional<Failure> {
        if (o == Op::Read)
            throw std::bad_alloc();
        return std::nullopt;
    };
    EXPECT_EQ(PerformSurvey(state, fake.platform, log).outcome, SurveyOutcome::Failed);
    EXPECT_EQ(log.lines.back(), "failed #7");
}

// A file that appears under the new name while the purge runs is the user's: it stays, and the
// purge ends as a No would. What the user agreed to replace is replaced.
TEST_P(PurgeTest, OnlyWhatTheUserAgreedToReplaceIsReplaced) {
    const std::string risks = kRealRiskTypeHead + kRealRisks + "%E\r\n";
    for (const std::string& input :
         {crlf({"H", "%T\tPOBS", "%R\t1", "%E"}), "H\r\n%T\tPOBS\r\n%R\t1\r\n" + risks}) {
        fake.files.files = {};
        survey(input);
        fake.files.failWith = [this](Op op, const std::string&, std::uint64_t) {
            if (op == Op::Write)
                file(kNew) = "saved meanwhile";
            return std::optional<Failure>();
        };
        EXPECT_EQ(purge(), PurgeOutcome::KeptExisting);
        EXPECT_EQ(file(kNew), "saved meanwhile");
        EXPECT_EQ(log.lines, Lines{"kept " + kNew}); // never asked: nothing stood there
        EXPECT_EQ(fake.files.files.size(), 2u);      // no intermediate left without its new file
        EXPECT_EQ(state.CurrentXerPath, kPath);
        // Asked and agreed: the file there is replaced, whatever it holds by then.
        log.answers = {true};
        EXPECT_EQ(purge(), PurgeOutcome::Created);
        EXPECT_NE(file(kNew), "saved meanwhile");
        fake.files.failWith = nullptr;
        state.CurrentXerPath = kPath;
    }
}

// A new name that cannot be made fails before the question and before anything is read.
TEST_P(PurgeTest, ADoomedNewNameFailsBeforeTheQuestionAndBeforeAnythingIsRead) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[this] { fake.files.folders.insert(kNew); }, "75"},
        {[this] { fake.files.fail(Op::CanCreate, 52); }, "52"},
        {[this] { fake.files.fail(Op::CanCreate, 70); }, "70"},
    };
    for (const auto& [arrange, failure] : cases) {
        SCOPED_TRACE(failure);
        fake.files.files = {};
        fake.files.failWith = nullptr;
        survey(crlf({"H", "%T\tPOBS", "%R\t1", "%T\tRISKTYPE", "%R\t1", "%E"}));
        file(kNew + "x") = "beside"; // not asked about: nothing is asked at all
        arrange();
        fake.files.bytesRead = 0;
        EXPECT_EQ(purge(), PurgeOutcome::Failed);
        EXPECT_EQ(log.lines, Lines{"failed #" + failure}); // not even a question
        EXPECT_EQ(fake.files.bytesRead, 0u);
        EXPECT_EQ(fake.files.files.size(), 2u);
    }
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
    EXPECT_EQ(file(kNew), crlf({"H", longSpaces, longRecord, "%E", "%T\tRISKTYPE", longType,
                                "%T\tPROJRISK", "%R\t1\t2\t3\t4\t5\tA\t", "%E"}));
}

// Closing the program stops a survey, with no message and Purge not enabled, and a purge,
// with nothing left under the new name.
TEST_P(PurgeTest, ClosingTheProgramStopsASurveyOrAPurgeCleanly) {
    // Long enough for the window to get its events many times however the lines are read.
    std::string content = "H\r\n%T\tPOBS\r\n%R\t1\r\n%E\r\n";
    for (int i = 0; i < 200000; ++i)
        content += "%R\t" + std::to_string(i) + "\r\n";
    file(kPath) = content;
    state.CurrentXerPath = kPath;
    fake.events.stopAfter = 10;
    EXPECT_EQ(PerformSurvey(state, fake.platform, log).outcome, SurveyOutcome::Stopped);
    EXPECT_LT(fake.events.calls, 1000);
    EXPECT_EQ(log.lines, Lines{"opening"});
    // A line of many blocks lets the window answer between them too.
    file(kPath) = "H\r\n%R\t" + std::string(40 * GetParam() + 4000, 'x') + "\r\n%E\r\n";
    fake.events.calls = 0;
    fake.events.stopAfter = 20;
    fake.files.bytesRead = 0;
    EXPECT_EQ(PerformSurvey(state, fake.platform, log).outcome, SurveyOutcome::Stopped);
    EXPECT_LT(fake.files.bytesRead, file(kPath).size());
    fake.events.stopAfter = -1;
    survey(content);
    fake.events.stopAfter = fake.events.calls + 10;
    EXPECT_EQ(purge(), PurgeOutcome::Stopped);
    EXPECT_LT(fake.events.calls, fake.events.stopAfter + 1000);
    EXPECT_EQ(fake.files.files.size(), 1u);
}

} // namespace
} // namespace zembrel::xer
