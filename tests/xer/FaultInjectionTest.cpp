// Every file operation of the survey and of each purge path fails in turn, once with each kind of
// failure: the run ends with that failure's message (or, where the failure is one the operation
// may step around, with the result of a run without it), every file closed, the user's file as
// the survey's repairs left it, and after a purge the file already under the new name (the user
// agreed to replace it) as it was.
#include "XerText.h"
#include "fakes/FakeObserver.h"
#include "fakes/FakePlatform.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

#include <map>

namespace zembrel::xer {
namespace {

using test::crlf;
using Op = test::FakeFileSystem::Op;

const std::string kPath = "/jobs/PLAN.XER";
const std::string kNew = "/jobs/PLAN-POBS.XER";
const std::string kHead = "ERMHDR\t8.0\r\n";
const std::string kPobs = crlf({"%T\tPOBS", "%F\tobs_id", "%R\t1", "%R\t2"});
const std::string kRiskTypes =
    crlf({"%T\tRISKTYPE", "%F\trisk_type_id\tname", "%R\tA\ta", "%R\tB\tb"});
const std::string kRisks = crlf({"%T\tPROJRISK", "%F\trisk_id\trisk_type_id", "%R\t9\tB"});

// Disk full, I/O error, permission denied, and a file that vanished under the program.
constexpr int kFailures[] = {failure::DiskFull, failure::DeviceIoError, failure::PermissionDenied,
                             failure::FileNotFound};
constexpr Op kOps[] = {Op::OpenRead, Op::OpenReadWrite, Op::CreateScratch, Op::ReadBack,
                       Op::Read,     Op::ReadAt,        Op::Seek,          Op::Write,
                       Op::WriteAt,  Op::Keep,          Op::Remove};

struct Case {
    const char* name;
    std::string file;
    bool purge; // false: the survey is what fails
};

// A survey with repairs; the purge with POBS only, RISKTYPE only (a copy first), and both.
const Case kCases[] = {
    {"SurveyWithRepairs",
     kHead + "%T\tPOBS\r\n%R\t\x1a"
             "1\r\n%R\t2\x1a\r\n%E\r\n",
     false},
    {"PurgePobsOnly", kHead + kPobs + "%E\r\n", true},
    {"PurgeRiskTypesOnly", kHead + kRiskTypes + kRisks + "%E\r\n", true},
    {"PurgeBoth", kHead + kPobs + kRiskTypes + kRisks + "%E\r\n", true},
};

class FaultInjectionTest : public ::testing::TestWithParam<Case> {
protected:
    struct Run {
        test::FakePlatform fake;
        test::NoticeLog log;
        AppState state;
        bool ok = false;
        std::string fileBefore; // what the failing operation may not change
    };

    // Runs the case with the n-th call of op failing with number (n = 0: nothing fails);
    // counts the calls of every operation on the way.
    std::unique_ptr<Run> run(Op op, int n, int number) {
        auto r = std::make_unique<Run>();
        r->fake.platform.blockSize = 8; // many reads and writes, each a place to fail
        r->fake.files.folders.insert("/jobs");
        r->fake.files.files[kPath] = GetParam().file;
        r->state.CurrentXerPath = kPath;
        r->state.CurrentXerName = "PLAN.XER";
        calls.clear();
        auto& files = r->fake.files;
        const auto arm = [&] {
            files.failWith = [this, op, n, number](Op o, const std::string&, std::uint64_t) {
                return ++calls[o] == n && o == op ? std::optional(makeFailure(number))
                                                  : std::nullopt;
            };
        };
        if (!GetParam().purge) {
            r->fileBefore = files.files[kPath];
            arm();
            r->ok = PerformSurvey(r->state, r->fake.platform, r->log).outcome ==
                    SurveyOutcome::Reported;
            return r;
        }
        EXPECT_EQ(PerformSurvey(r->state, r->fake.platform, r->log).outcome,
                  SurveyOutcome::Reported);
        r->fileBefore = files.files[kPath];
        files.files[kNew] = "kept";
        r->log.clear();
        arm();
        r->ok = Purge(r->state, r->fake.platform, r->log).outcome == PurgeOutcome::Created;
        return r;
    }

    std::map<Op, int> calls;
};

TEST_P(FaultInjectionTest, EveryFailingOperationEndsCleanly) {
    const auto clean = run(Op::OpenRead, 0, 0);
    ASSERT_TRUE(clean->ok);
    const std::map<Op, int> cleanCalls = calls;
    const std::string cleanNew = GetParam().purge ? clean->fake.files.files.at(kNew) : "";
    int runs = 0;
    for (const Op op : kOps) {
        const int count = cleanCalls.count(op) ? cleanCalls.at(op) : 0;
        for (int n = 1; n <= count; ++n) {
            for (const int number : kFailures) {
                SCOPED_TRACE("op " + std::to_string(static_cast<int>(op)) + ", call " +
                             std::to_string(n) + ", failure " + std::to_string(number));
                const auto r = run(op, n, number);
                ++runs;
                auto& files = r->fake.files;
                EXPECT_EQ(files.openHandles, 0);
                const std::string& now = files.files.at(kPath);
                ASSERT_EQ(now.size(), r->fileBefore.size());
                for (std::size_t i = 0; i < now.size(); ++i)
                    EXPECT_TRUE(now[i] == r->fileBefore[i] ||
                                (r->fileBefore[i] == '\x1a' && now[i] == ' '));
                if (r->ok) { // stepped around: the same result as without the failure
                    if (GetParam().purge) {
                        EXPECT_EQ(files.files.at(kNew), cleanNew);
                    }
                    continue;
                }
                if (GetParam().purge) {
                    EXPECT_EQ(files.files.at(kNew), "kept");
                    EXPECT_EQ(r->state.CurrentXerPath, kPath);
                }
                ASSERT_FALSE(r->log.lines.empty());
                EXPECT_EQ(r->log.lines.back(), "failed #" + std::to_string(number));
            }
        }
    }
    EXPECT_GT(runs, 20); // the case reaches many operations
}

INSTANTIATE_TEST_SUITE_P(Paths, FaultInjectionTest, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace zembrel::xer
