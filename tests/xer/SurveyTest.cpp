#include "xer/Survey.h"
#include "BlockSuite.h"
#include "BoundaryLayout.h"
#include "fakes/FakeObserver.h"

#include <gtest/gtest.h>

namespace zembrel::xer {
namespace {

using test::crlf;
const std::string& kPath = test::kPlanPath;
const std::string kUtf8Mark = "\xef\xbb\xbf";

std::string surveyed(int pobs, int riskTypes) {
    return "surveyed " + std::to_string(pobs) + " " + std::to_string(riskTypes);
}

class SurveyTest : public test::BlockSuite {
protected:
    // Surveys content (the file as it stands when there is none) with no notice logged yet.
    SurveyOutcome survey(std::optional<std::string> content = {}) {
        if (content)
            file() = *content;
        log.clear();
        state.CurrentXerPath = kPath;
        report = PerformSurvey(state, fake.platform, log);
        EXPECT_EQ(fake.files.openHandles, 0);
        EXPECT_EQ(report.pobs, state.PobsRecordCount);
        EXPECT_EQ(report.riskTypes, state.RiskTypeRecordCount);
        return report.outcome;
    }
    test::NoticeLog log;
    SurveyReport report;
    AppState state;
};

INSTANTIATE_TEST_SUITE_P(Blocks, SurveyTest, ::testing::ValuesIn(test::kBlockSizes),
                         test::blockSizeName);

// The survey walks POBS and RISKTYPE tables (the end of a POBS table may open RISKTYPE) and
// counts their records; a file that ends inside one of them is broken.
TEST_P(SurveyTest, CountsRecordsAsTheTablesAreWalked) {
    const struct {
        const char* what;
        std::string content;
        int pobs, riskTypes;
        std::string broken = ""; // the table the file ends in
    } cases[] = {
        {"every kind of table",
         crlf({"ERMHDR\t8.0", "%T\tOBS", "%F\tobs_id", "%R\t1", "%T\tPOBS", "%F\tpobs_id", "%R\t1",
               "%R\t2", "%R\t3", "%T\tRISKTYPE", "%F\trisk_type_id", "%R\t7", "%R\t8", "%T\tTASK",
               "%R\tx", "%E"}),
         3, 2},
        {"an empty file", "", 0, 0},
        {"POBS ended by RISKTYPE: both count",
         crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tRISKTYPE", "%F", "%R\ta", "%R\tb", "%E"}), 1,
         2},
        {"RISKTYPE ended by POBS: that POBS is not seen",
         crlf({"H", "%T\tRISKTYPE", "%F", "%R\ta", "%T\tPOBS", "%F", "%R\t1", "%E"}), 0, 1},
        {"POBS ended by POBS: the second is not seen",
         crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tPOBS", "%F", "%R\t2", "%R\t3", "%E"}), 1, 0},
        {"two POBS tables apart add up",
         crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%T\tX", "%T\tPOBS", "%F", "%R\t2", "%R\t3", "%E"}),
         3, 0},
        {"only the tag counts, the line after the table line included",
         crlf({"H", "  %T\tPOBS  ", "%R", "", " %R\tnot a record", "%Rx", "%F\tx", "%R\t1", "%E"}),
         3, 0},
        {"a table line as the last line opens nothing", crlf({"H", "%T\tPOBS"}), 0, 0},
        {"the end line may be the last line", "H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E", 1, 0},
        {"LF-only files are read line by line",
         "ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%R\t2\n%T\tRISKTYPE\n%F\n%R\tx\n%E\n", 2, 1},
        {"a NUL after the first line is data", crlf({"H", "%T\tPOBS", "%R\t\0x", "%E"}), 1, 0},
        // The last line is never counted.
        {"a POBS record last", crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%R\t2"}), 1, 0, "POBS"},
        {"a RISKTYPE record last", crlf({"H", "%T\tRISKTYPE", "%F", "%R\t1"}), 0, 0, "RISKTYPE"},
        {"the field-names line last", crlf({"H", "%T\tPOBS", "%F"}), 0, 0, "POBS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool found = c.pobs + c.riskTypes > 0 && c.broken.empty();
        const auto outcome = survey(c.content);
        EXPECT_EQ(state.PobsRecordCount, c.pobs);
        EXPECT_EQ(state.RiskTypeRecordCount, c.riskTypes);
        EXPECT_EQ(report.foundRecords(), found);
        EXPECT_EQ(report.size, c.content.size());
        if (c.broken.empty()) {
            EXPECT_EQ(outcome, SurveyOutcome::Reported);
            EXPECT_EQ(log.lines, (Lines{"opening", surveyed(c.pobs, c.riskTypes)}));
            EXPECT_EQ(log.notices[0].path, kPath);
            continue;
        }
        EXPECT_EQ(outcome, SurveyOutcome::Broken);
        EXPECT_EQ(log.lines, (Lines{"opening", "broken " + c.broken}));
    }
    EXPECT_GE(fake.events.calls, 14); // the window gets its events while the file is read
}

// Each SUB byte becomes a space, with a message and the running count per repair; the counts
// are those of a whole survey of the repaired file.
TEST_P(SurveyTest, SubBytesInXerTextAreRepairedOneByOne) {
    const std::string clean = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1 a", "%R\t2 b", "%E",
                                    "%T\tRISKTYPE", "%F", "%R\t3 c", "%E"});
    std::string damaged = clean;
    for (const char* at : {"1 a", "2 b", "3 c"})
        damaged[damaged.find(at) + 1] = '\x1a';
    const std::string pobs = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1", "%E"});
    const struct {
        const char* what;
        std::string damaged, clean;
        int pobs, riskTypes, repairs;
    } cases[] = {
        {"in records of both tables", damaged, clean, 2, 1, 3},
        {"after the last line end", pobs + "\x1a", pobs + " ", 1, 0, 1},
        {"a run of them", "ERMHDR\r\n\x1a\x1a\x1a\x1a\x1a", "ERMHDR\r\n     ", 0, 0, 5},
        {"in an LF-only first line", "ERMHDR\x1a\n%T\tPOBS\n%F\n%R\t1\n%E\n",
         "ERMHDR \n%T\tPOBS\n%F\n%R\t1\n%E\n", 1, 0, 1},
        {"right after a CR", "ERMHDR\r\x1a\r\n%T\tPOBS\r\n%R\t1\r\n%E",
         "ERMHDR\r \r\n%T\tPOBS\r\n%R\t1\r\n%E", 1, 0, 1},
        {"in the tag of a table line", crlf({"ERMHDR", "%\x1a\tPOBS", "%F", "%R\t1", "%E"}),
         crlf({"ERMHDR", "% \tPOBS", "%F", "%R\t1", "%E"}), 0, 0, 1},
        {"after a UTF-8 mark", kUtf8Mark + "ERMHDR\r\n%R\x1a\r\n", kUtf8Mark + "ERMHDR\r\n%R \r\n",
         0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(survey(c.damaged), SurveyOutcome::Reported);
        EXPECT_EQ(file(), c.clean);
        Lines lines = {"opening"};
        for (int n = 1; n <= c.repairs; ++n)
            lines.insert(lines.end(),
                         {"reconditioning", "repaired " + std::to_string(n), "opening"});
        lines.push_back(surveyed(c.pobs, c.riskTypes));
        EXPECT_EQ(log.lines, lines);
        EXPECT_EQ(report.repaired, c.repairs);
        ASSERT_EQ(report.repairs.size(), static_cast<std::size_t>(c.repairs));
        for (const std::uint64_t offset : report.repairs)
            EXPECT_EQ(file()[offset], ' ');
    }
}

TEST_P(SurveyTest, RepairsInALongLineCostNoReadingBeyondTheSinglePass) {
    std::string big(200'000, 'x');
    for (std::size_t i = 1000; i < big.size(); i += 1000)
        big[i] = '\x1a';
    const std::string header = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1"});
    survey(header + "%R\t" + big + "\r\n%R\t3\r\n%E\r\n");
    EXPECT_EQ(state.PobsRecordCount, 3);
    EXPECT_EQ(report.repaired, 199);
    EXPECT_EQ(file().find('\x1a'), std::string::npos);
    // The file is read once, after a look at its first line.
    EXPECT_LE(fake.files.bytesRead, file().size() + header.size() + 64 * 1024);
}

// A file that is not XER text is never repaired; UTF-16 text is not even counted, since its
// counts would be wrong answers.
TEST_P(SurveyTest, OnlyXerTextIsEverChanged) {
    const struct {
        const char* what;
        std::string content;
        int pobs;
    } cases[] = {
        {"no XER header", crlf({"Notes", "%T\tPOBS", "%R\t\x1a", "%E"}), 0},
        {"compressed data", std::string("\x1f\x8b\x08\x00\x1a\x00\x00", 7), 9},
        {"UTF-16 LE with a mark", std::string("\xff\xfe\x45\0R\0\x1a\0\r\0\n\0", 12), 9},
        {"UTF-16 BE with a mark", std::string("\xfe\xff\0E\0R", 6), 9},
        {"UTF-16 without a mark", std::string("E\0R\0M\0H\0D\0R\0\r\0\n\0", 16), 9},
        {"a NUL in a one-line file", std::string("ERMHDR\0\x1a", 8), 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        state.PobsRecordCount = 9;
        EXPECT_EQ(survey(c.content), SurveyOutcome::Failed);
        EXPECT_EQ(file(), c.content);
        EXPECT_EQ(log.lines, (Lines{"opening", "failed #321"}));
        EXPECT_EQ(state.PobsRecordCount, c.pobs);
    }
}

// Each file operation failing in turn is FaultInjectionTest's; here the message, and files that
// change while they are read.
TEST_P(SurveyTest, FailuresGiveTheirNumber) {
    const std::string damaged = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t\x1a", "%R\t2", "%E"});
    const struct {
        const char* what;
        std::function<void()> arrange;
        int failure;
        std::string after; // the file afterwards, where it is certain
    } cases[] = {
        {"a read fails", [&] { fake.files.fail(Op::Read, 57, 10); }, 57, ""},
        {"the file shrinks while it is read",
         [&] {
             fake.events.onProcess = [&] {
                 file().resize(std::min<std::size_t>(file().size(), 12));
             };
         },
         62, damaged.substr(0, 12)},
        {"the file grows while it is read",
         [&] {
             fake.events.onProcess = [&] {
                 if (file().size() < 200)
                     file() += "%R\t9\r\n";
             };
         },
         75, ""},
        {"the SUB byte is gone before the repair",
         [&] {
             log.onNotice = [&](const Notice& n) {
                 if (n.kind == NoticeKind::Reconditioning)
                     file()[file().find('\x1a')] = 'k';
             };
         },
         75, crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\tk", "%R\t2", "%E"})},
        {"the file may not be written", [&] { fake.files.fail(Op::OpenReadWrite, 70); }, 70,
         damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.failWith = nullptr;
        fake.events.onProcess = nullptr;
        log.onNotice = nullptr;
        file() = damaged;
        c.arrange();
        EXPECT_EQ(survey(), SurveyOutcome::Failed);
        // The last word is the failure: no "Please wait" left standing.
        ASSERT_FALSE(log.lines.empty());
        EXPECT_EQ(log.lines.back(), "failed #" + std::to_string(c.failure));
        EXPECT_EQ(report.failure.number, c.failure);
        if (!c.after.empty()) {
            EXPECT_EQ(file(), c.after);
        }
    }
}

TEST_P(SurveyTest, RefusesWithoutAFile) {
    state.TabChar = 'x';
    state.PobsRecordCount = 4;
    EXPECT_EQ(PerformSurvey(state, fake.platform, log).outcome, SurveyOutcome::NotSpecified);
    state.CurrentXerPath = kPath; // a path that names no file
    EXPECT_EQ(PerformSurvey(state, fake.platform, log).outcome, SurveyOutcome::NotFound);
    EXPECT_EQ(log.lines, (Lines{"not specified", "not found"}));
    EXPECT_EQ(state.PobsRecordCount, 4); // counts as they were
    EXPECT_EQ(state.TabChar, '\t');
}

// Runs of records are scanned, not walked: table lines, line ends and SUB bytes on either side
// of a block boundary, and inside or outside a scanned run, are found as one by one.
TEST_P(SurveyTest, ScannedRunsFindWhatLiesOnBlockBoundaries) {
    for (const std::string eol : {"\r\n", "\n"}) {
        for (std::size_t shift = 0; shift <= 70; ++shift) {
            SCOPED_TRACE((eol == "\n" ? "LF, shift " : "CR LF, shift ") + std::to_string(shift));
            const test::BoundaryLayout layout(shift, eol);
            ASSERT_EQ(survey(layout.text), SurveyOutcome::Reported);
            EXPECT_EQ(file(), layout.repaired);
            EXPECT_EQ(state.PobsRecordCount, layout.pobs);
            EXPECT_EQ(report.repaired, 1);
        }
    }
}

} // namespace
} // namespace zembrel::xer
