// Counts past 2^31 - 1 are failure 6, "Overflow", never wrapped numbers.
#include "GeneratedFile.h"
#include "fakes/FakeObserver.h"
#include "fakes/FakePlatform.h"
#include "xer/PurgePasses.h"
#include "xer/RiskTypeReferences.h"
#include "xer/Survey.h"
#include "xer/XerLineWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace zembrel::xer {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
using test::Generated;
using test::GeneratedReadFile;

// Writes nowhere: the passes' output is not what these tests look at.
struct NoFile final : WriteFile {
    Status write(const char*, std::size_t) override { return {}; }
};

const std::string kHead = "ERMHDR\t8.0\r\n";

TEST(ScaleTest, SurveyOfTwoToTheThirtyOnePobsRecordsIsAnOverflow) {
    // Eight GiB of lines (a second here, far more under the sanitizers): CI runs it
    // (ZEMBREL_SCALE=1); the everyday suite does not.
    if (!std::getenv("ZEMBREL_SCALE"))
        GTEST_SKIP() << "set ZEMBREL_SCALE=1 to read 2^31 lines";
    const Generated file{kHead + "%T\tPOBS\r\n%F\tobs_id\r\n", "%R\r\n", std::uint64_t{1} << 31,
                         "%E\r\n"};
    test::FakePlatform fake;
    fake.platform.blockSize = 1 << 20;
    fake.files.files["/big.xer"] = "";
    fake.files.generated["/big.xer"] = [&] { return std::make_unique<GeneratedReadFile>(file); };
    test::NoticeLog log;
    AppState state;
    state.CurrentXerPath = "/big.xer";
    const SurveyReport report = PerformSurvey(state, fake.platform, log);
    EXPECT_EQ(report.outcome, SurveyOutcome::Failed);
    EXPECT_EQ(report.failure.number, failure::Overflow);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"opening", "failed #6"}));
}

// The purge passes count on from where they are given: 2^20 generated lines take a count that
// starts 2^20 - 1 below the limit past it, through the same blocks as 2^31 lines would.
struct PassCase {
    const char* name;
    bool riskTypes; // the RISKTYPE pass, else the POBS pass
    bool overflows; // the count starts 2^20 - 1 below the limit, else 2^20
};

class PassScaleTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(PassScaleTest, CountsToTheLimitAndFailsPastIt) {
    constexpr std::uint64_t kLines = 1 << 20;
    const PassCase& c = GetParam();
    const std::string table =
        c.riskTypes ? "%T\tRISKTYPE\r\n%F\trisk_type_id\r\n" : "%T\tPOBS\r\n%F\tobs_id\r\n";
    XerLineReader reader(std::make_unique<GeneratedReadFile>(
                             Generated{kHead + table, "%R\tA\t\r\n", kLines, "%E\r\n"}),
                         64 * 1024);
    NoFile out;
    XerLineWriter writer(out, 64 * 1024);
    test::FakeEvents events;
    std::vector<std::string> list;
    RiskTypeReferences references(list);
    ASSERT_TRUE(references.add(idKey("A")));
    const std::int32_t below = (1 << 20) - (c.overflows ? 1 : 0);
    std::int32_t count = kMax - below, kept = 0;
    const auto end = c.riskTypes ? riskTypePass(reader, writer, events, references, count, kept)
                                 : pobsPass(reader, writer, events, count);
    ASSERT_EQ(end.ok(), !c.overflows);
    if (c.overflows) {
        EXPECT_EQ(end.failure().number, failure::Overflow);
    }
    EXPECT_EQ(count, kMax); // the limit reached, or the count where it stopped
}

INSTANTIATE_TEST_SUITE_P(Passes, PassScaleTest,
                         ::testing::Values(PassCase{"PobsUpToTheLimit", false, false},
                                           PassCase{"PobsPastTheLimit", false, true},
                                           PassCase{"RiskTypesUpToTheLimit", true, false},
                                           PassCase{"RiskTypesPastTheLimit", true, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A parent that no longer fits is an overflow: leaving it out would orphan its child.
TEST(RiskTypeReferencesTest, ParentsPastTheLimitAreAnOverflow) {
    for (const std::size_t limit : {3u, 4u}) {
        std::vector<std::string> list;
        RiskTypeReferences references(list, limit);
        ASSERT_TRUE(references.add(idKey("A")) && references.add(idKey("B")));
        references.setParent(idKey("A"), idKey("P"));
        references.setParent(idKey("B"), idKey("Q"));
        EXPECT_EQ(references.addParents(), limit == 4) << limit;
        EXPECT_EQ(list.size(), limit);
    }
}

} // namespace
} // namespace zembrel::xer
