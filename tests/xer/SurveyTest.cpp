#include "xer/Survey.h"
#include "BlockSizes.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zembrel::xer {
namespace {

using test::crlf;

const std::string kPath = "/jobs/PLAN.XER";
const std::string kNothing = "The above XER file does not contain any POBS or Risk Type records.";
const std::string kReconditioning =
    "The XER file is corrupted and needs to be reconditioned.  Please wait while this process "
    "proceeds (this can take several minutes).";

std::string reportOf(int pobs, int riskTypes) {
    return "A total of " + std::to_string(pobs) + " POBS records\r\nand " +
           std::to_string(riskTypes) +
           " Risk Type records\r\nexist in this XER file.\r\n\r\nClick on the button below to "
           "create a new XER file without these unwanted entries.";
}

std::string repaired(int n) {
    return "A total of " + std::to_string(n) +
           " characters were corrupt and were replaced with a space.";
}

class SurveyTest : public ::testing::TestWithParam<std::size_t> {
protected:
    SurveyTest() { fake.platform.blockSize = GetParam(); }
    SurveyOutcome survey(const std::string& content) {
        fake.files.files[kPath] = content;
        return survey();
    }
    SurveyOutcome survey() {
        state.CurrentXerPath = kPath;
        const auto outcome = PerformSurvey(state, window, fake.platform);
        EXPECT_EQ(fake.files.openHandles, 0);
        return outcome;
    }
    std::string& file() { return fake.files.files[kPath]; }

    test::FakePlatform fake;
    test::FakeSurface window;
    AppState state;
};

INSTANTIATE_TEST_SUITE_P(Blocks, SurveyTest, ::testing::ValuesIn(test::kBlockSizes),
                         test::blockSizeName);

struct Counted {
    const char* what;
    std::string content;
    int pobs;
    int riskTypes;
};

TEST_P(SurveyTest, CountsRecordsAsTheTablesAreWalked) {
    const Counted cases[] = {
        {"every kind of table",
         crlf({"ERMHDR\t8.0", "%T\tOBS", "%F\tobs_id", "%R\t1", "%T\tPOBS", "%F\tpobs_id", "%R\t1",
               "%R\t2", "%R\t3", "%T\tRISKTYPE", "%F\trisk_type_id", "%R\t7", "%R\t8", "%T\tTASK",
               "%R\tx", "%E"}),
         3, 2},
        {"an empty file", "", 0, 0},
        {"a POBS table without records", crlf({"ERMHDR", "%T\tPOBS", "%F\tpobs_id", "%E"}), 0, 0},
        {"no table of interest", crlf({"ERMHDR", "%T\tTASK", "%R\t1", "%E"}), 0, 0},
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
        {"a trailing TAB or lower case is no table line",
         crlf({"H", "%T\tPOBS\t", "%R\t1", "%T\tpobs", "%R\t2", "%E"}), 0, 0},
        {"a table line as the last line opens nothing", crlf({"H", "%T\tPOBS"}), 0, 0},
        {"the end line may be the last line", "H\r\n%T\tPOBS\r\n%F\r\n%R\t1\r\n%E", 1, 0},
        {"LF-only files are read line by line",
         "ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%R\t2\n%T\tRISKTYPE\n%F\n%R\tx\n%E\n", 2, 1},
        {"after a CR LF first line an LF is data", "ERMHDR\r\n%T\tPOBS\n%F\n%R\t1\n%E\n", 0, 0},
        {"CR alone ends lines too", "H\r%T\tPOBS\r%F\r%R\t1\r%E\r", 1, 0},
        {"a NUL after the first line is data", crlf({"H", "%T\tPOBS", "%R\t\0x", "%E"}), 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window.purgeEnabled = c.pobs + c.riskTypes == 0;
        EXPECT_EQ(survey(c.content), SurveyOutcome::Reported);
        EXPECT_EQ(state.PobsRecordCount, c.pobs);
        EXPECT_EQ(state.RiskTypeRecordCount, c.riskTypes);
        EXPECT_EQ(window.resultsText,
                  c.pobs + c.riskTypes ? reportOf(c.pobs, c.riskTypes) : kNothing);
        EXPECT_EQ(window.purgeEnabled, c.pobs + c.riskTypes > 0);
    }
    EXPECT_EQ(window.resultsHistory.front(), "Opening XER file " + kPath);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_GE(fake.events.calls, 16); // the window gets its events while the file is read
}

TEST_P(SurveyTest, AFileEndingInsideATableIsBroken) {
    const std::string pobs = "ERROR: The file is broken and should not be used.\r\nPOBS record "
                             "corruption ruined the XER file.";
    const std::string riskType = "ERROR: The file is broken and should not be used.\r\nRisk "
                                 "Type record corruption ruined the XER file.";
    const struct {
        std::string content;
        const std::string& text;
        int pobs;
    } cases[] = {
        {crlf({"H", "%T\tPOBS", "%F", "%R\t1", "%R\t2"}), pobs, 1}, // the last is not counted
        {crlf({"H", "%T\tRISKTYPE", "%F", "%R\t1"}), riskType, 0},
        {crlf({"H", "%T\tPOBS", "%F"}), pobs, 0}, // the field-names line is inside too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        fake.boxes.shown.clear();
        window.purgeEnabled = true;
        EXPECT_EQ(survey(c.content), SurveyOutcome::Broken);
        ASSERT_EQ(fake.boxes.shown.size(), 1u);
        EXPECT_EQ(fake.boxes.shown[0].text, c.text);
        EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(fake.boxes.shown[0].title, "Plovard");
        EXPECT_EQ(window.resultsText, c.text);
        EXPECT_FALSE(window.purgeEnabled);
        EXPECT_EQ(state.PobsRecordCount, c.pobs); // what was counted before the end stays
    }
}

TEST_P(SurveyTest, EachSubByteIsReplacedWithASpaceAndReportedWithTheRunningCount) {
    const std::string clean = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1 a", "%R\t2 b", "%E",
                                    "%T\tRISKTYPE", "%F", "%R\t3 c", "%E"});
    std::string damaged = clean;
    for (const char* at : {"1 a", "2 b", "3 c"})
        damaged[damaged.find(at) + 1] = '\x1a';
    EXPECT_EQ(survey(damaged), SurveyOutcome::Reported);
    EXPECT_EQ(file(), clean);
    EXPECT_EQ(fake.boxes.texts(),
              (std::vector<std::string>{repaired(1), repaired(2), repaired(3)}));
    for (const auto& box : fake.boxes.shown)
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    // The counts are those of a whole survey of the repaired file.
    EXPECT_EQ(window.resultsText, reportOf(2, 1));
    EXPECT_EQ(
        std::count(window.resultsHistory.begin(), window.resultsHistory.end(), kReconditioning), 3);
    EXPECT_EQ(std::count(window.resultsHistory.begin(), window.resultsHistory.end(),
                         "Opening XER file " + kPath),
              4);
}

TEST_P(SurveyTest, SubBytesAnywhereInXerTextAreRepaired) {
    const struct {
        const char* what;
        std::string damaged;
        std::string clean;
        int pobs;
    } cases[] = {
        {"after the last line end", crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1", "%E"}) + "\x1a",
         crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1", "%E"}) + " ", 1},
        {"a run of them", "ERMHDR\r\n\x1a\x1a\x1a\x1a\x1a", "ERMHDR\r\n     ", 0},
        {"in an LF-only first line", "ERMHDR\x1a\n%T\tPOBS\n%F\n%R\t1\n%E\n",
         "ERMHDR \n%T\tPOBS\n%F\n%R\t1\n%E\n", 1},
        {"right after a CR", "ERMHDR\r\x1a\r\n%T\tPOBS\r\n%R\t1\r\n%E",
         "ERMHDR\r \r\n%T\tPOBS\r\n%R\t1\r\n%E", 1},
        {"in the tag of a table line", crlf({"ERMHDR", "%\x1a\tPOBS", "%F", "%R\t1", "%E"}),
         crlf({"ERMHDR", "% \tPOBS", "%F", "%R\t1", "%E"}), 0},
        {"after a UTF-8 mark",
         "\xef\xbb\xbf"
         "ERMHDR\r\n%R\x1a\r\n",
         "\xef\xbb\xbf"
         "ERMHDR\r\n%R \r\n",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(survey(c.damaged), SurveyOutcome::Reported);
        EXPECT_EQ(file(), c.clean);
        EXPECT_EQ(state.PobsRecordCount, c.pobs);
    }
}

TEST_P(SurveyTest, RepairsInALongLineCostNoReadingBeyondTheSinglePass) {
    std::string big(200'000, 'x');
    for (std::size_t i = 1000; i < big.size(); i += 1000)
        big[i] = '\x1a';
    const std::string header = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1"});
    survey(header + "%R\t" + big + "\r\n%R\t3\r\n%E\r\n");
    EXPECT_EQ(state.PobsRecordCount, 3);
    EXPECT_EQ(fake.boxes.shown.size(), 199u);
    EXPECT_EQ(file().find('\x1a'), std::string::npos);
    // The file is read once, after a look at its first line.
    EXPECT_LE(fake.files.bytesRead, file().size() + header.size() + 64 * 1024);
}

TEST_P(SurveyTest, OnlyXerTextIsEverChanged) {
    const struct {
        const char* what;
        std::string content;
        int opened; // times the label said "Opening" before the failure
    } cases[] = {
        {"no XER header", crlf({"Notes", "%T\tPOBS", "%R\t\x1a", "%E"}), 1},
        {"compressed data", std::string("\x1f\x8b\x08\x00\x1a\x00\x00", 7), 1},
        {"UTF-16 LE with a mark",
         std::string("\xff\xfe"
                     "E\0R\0\x1a\0\r\0\n\0",
                     12),
         1},
        {"UTF-16 BE with a mark", std::string("\xfe\xff\0E\0R", 6), 1},
        {"UTF-16 without a mark", std::string("E\0R\0M\0H\0D\0R\0\r\0\n\0", 16), 1},
        {"a NUL in a one-line file", std::string("ERMHDR\0\x1a", 8), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.boxes.shown.clear();
        window.resultsHistory.clear();
        state.PobsRecordCount = 9;
        EXPECT_EQ(survey(c.content), SurveyOutcome::Failed);
        EXPECT_EQ(file(), c.content);
        ASSERT_EQ(fake.boxes.shown.size(), 1u);
        EXPECT_EQ(fake.boxes.shown[0].text, "ERROR #321, Invalid file format");
        EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(window.resultsHistory, (std::vector<std::string>{"Opening XER file " + kPath}));
    }
    // UTF-16 files are not surveyed at all: their counts would be wrong answers.
    EXPECT_EQ(state.PobsRecordCount, 9);
}

TEST_P(SurveyTest, RefusesWithoutAFileAndLeavesTheWindowAsItWas) {
    window.purgeEnabled = true;
    window.resultsText = "earlier";
    state.TabChar = 'x';
    EXPECT_EQ(PerformSurvey(state, window, fake.platform), SurveyOutcome::Refused);
    EXPECT_EQ(survey(), SurveyOutcome::Refused); // nothing at the path
    ASSERT_EQ(fake.boxes.shown.size(), 2u);
    EXPECT_EQ(fake.boxes.shown[0].text, "File not specified.");
    EXPECT_EQ(fake.boxes.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(fake.boxes.shown[1].text, "ERROR! File not found.");
    EXPECT_EQ(fake.boxes.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.resultsText, "earlier");
    EXPECT_TRUE(window.purgeEnabled);
    EXPECT_EQ(state.TabChar, '\t');
}

TEST_P(SurveyTest, FailuresGiveTheirNumberAndLeaveLabelButtonAndCounts) {
    using Op = test::FakeFileSystem::Op;
    const std::string damaged = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t\x1a", "%R\t2", "%E"});
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string box;
        std::string after; // the file afterwards
    } cases[] = {
        {"the file cannot be opened", [&] { fake.files.fail(Op::OpenRead, 70); },
         "ERROR #70, Permission denied", damaged},
        {"a read fails",
         [&] {
             fake.files.failWith = [](Op op, const std::string&, std::uint64_t at) {
                 return op == Op::Read && at >= 10 ? std::optional(makeFailure(57)) : std::nullopt;
             };
         },
         "ERROR #57, Device I/O error", ""},
        {"the file cannot be written", [&] { fake.files.fail(Op::OpenReadWrite, 70); },
         "ERROR #70, Permission denied", damaged},
        {"the repair fails", [&] { fake.files.fail(Op::WriteAt, 57); },
         "ERROR #57, Device I/O error", damaged},
        {"the file shrinks while it is read",
         [&] {
             fake.events.onProcess = [&] {
                 file().resize(std::min<std::size_t>(file().size(), 12));
             };
         },
         "ERROR #62, Input past end of file", damaged.substr(0, 12)},
        {"the file grows while it is read",
         [&] {
             fake.events.onProcess = [&] {
                 if (file().size() < 200)
                     file() += "%R\t9\r\n";
             };
         },
         "ERROR #75, Path/File access error", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.failWith = nullptr;
        fake.events.onProcess = nullptr;
        fake.boxes.shown.clear();
        file() = damaged;
        window.purgeEnabled = true;
        window.resultsText = "earlier";
        state.PobsRecordCount = 9;
        c.arrange();
        EXPECT_EQ(survey(), SurveyOutcome::Failed);
        EXPECT_EQ(fake.boxes.shown.back().text, c.box);
        EXPECT_EQ(fake.boxes.shown.back().icon, MessageIcon::Exclamation);
        if (!c.after.empty()) {
            EXPECT_EQ(file(), c.after);
        }
        EXPECT_TRUE(window.purgeEnabled);
    }
}

TEST_P(SurveyTest, ASubByteGoneBeforeTheRepairIsAFailureNotAGuess) {
    file() = crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t\x1a", "%E"});
    fake.events.onProcess = [&] {
        if (window.resultsText == kReconditioning)
            file()[file().find('\x1a')] = 'k';
    };
    EXPECT_EQ(survey(), SurveyOutcome::Failed);
    EXPECT_EQ(fake.boxes.shown.back().text, "ERROR #75, Path/File access error");
    EXPECT_EQ(file(), crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\tk", "%E"}));
}

TEST_P(SurveyTest, ClosingTheProgramStopsTheSurveyAndLeavesTheWindowAlone) {
    std::string content = "H\r\n%T\tPOBS\r\n";
    for (int i = 0; i < 5000; ++i)
        content += "%R\t" + std::to_string(i) + "\r\n";
    file() = content + "%E\r\n";
    fake.events.stopAfter = 10;
    window.resultsText = "before";
    EXPECT_EQ(survey(), SurveyOutcome::Stopped);
    EXPECT_LT(fake.events.calls, 1000);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_NE(window.resultsText, reportOf(state.PobsRecordCount, 0));
    EXPECT_FALSE(window.purgeEnabled);
}

} // namespace
} // namespace zembrel::xer
