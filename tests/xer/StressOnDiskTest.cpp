// Many surveys and purges at once on the real file system, in one folder and in several: of
// different files, of the same file, all contending for "Temp.TXT". Every new file must be what
// a purge of its input run alone makes, and no input may change.
#include "TempFolder.h"
#include "XerText.h"
#include "fakes/FakePromptPlayer.h"
#include "fakes/FakeUi.h"
#include "platform/NativeBackEnd.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace zembrel::xer {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A schedule with POBS and risk types, told apart by tag.
std::string schedule(const std::string& tag, int records) {
    std::vector<std::string> lines = {"ERMHDR\t" + tag, "%T\tPOBS", "%F\tobs_id"};
    for (int i = 0; i < records; ++i)
        lines.push_back("%R\t" + std::to_string(i) + "\t" + tag);
    lines.insert(lines.end(), {"%T\tRISKTYPE", "%F\trisk_type_id\tname", "%R\t1\t" + tag,
                               "%R\t2\tunused", "%T\tPROJRISK", "%F\trisk_id\trisk_type_id"});
    for (int i = 0; i < records; ++i)
        lines.push_back("%R\t" + tag + std::to_string(i) + "\t1");
    lines.push_back("%E");
    return test::crlf(lines);
}

struct Job {
    explicit Job(native::NativeFileSystem& fs) : files(fs) {}
    native::NativeFileSystem& files;
    test::FakeBoxes boxes;
    test::FakeEvents events;
    test::FakePointer pointer;
    test::FakeSurface window;
    test::FakePromptPlayer prompts;
    AppState state;

    // Surveys path, and purges it unless only the survey is asked for.
    bool run(const std::string& path, bool purge, std::size_t blockSize) {
        Platform platform{files, boxes, events, pointer, blockSize, native::pathRules({})};
        state.CurrentXerPath = path;
        state.CurrentXerName = fs::path(path).filename().string();
        if (PerformSurvey(state, window, platform) != SurveyOutcome::Reported)
            return false;
        if (!purge)
            return state.PobsRecordCount > 0;
        // The same file purged twice at once: the later may find the earlier's copy and keep it.
        const auto o = Purge(state, window, platform, prompts);
        return o == PurgeOutcome::Created || o == PurgeOutcome::Declined;
    }
};

TEST(StressOnDiskTest, ManyPurgesAndSurveysAtOnceEachGiveWhatOneAloneGives) {
    native::NativeFileSystem files;
    TempFolder alone, dir;
    const int kInputs = 6;
    std::vector<std::string> inputs, expected;
    for (int i = 0; i < kInputs; ++i) {
        const std::string tag = "t" + std::to_string(i), content = schedule(tag, 50 + 40 * i);
        Job job(files);
        ASSERT_TRUE(job.run(alone.write(tag + ".xer", content), true, 4096));
        expected.push_back(TempFolder::read(alone.file(tag + "-POBS.xer")));
        // Two folders: inputs 0-2 in the first, 3-5 in the second.
        fs::create_directories(dir.file(i < 3 ? "one" : "two"));
        inputs.push_back(dir.write((i < 3 ? "one/" : "two/") + tag + ".xer", content));
    }
    std::vector<std::string> before;
    for (const auto& in : inputs)
        before.push_back(TempFolder::read(in));
    // Every input purged twice at once and surveyed once, at different block sizes.
    constexpr int kJobs = kInputs * 3;
    std::vector<std::unique_ptr<Job>> jobs;
    std::vector<char> ok(kJobs, 0);
    std::vector<std::thread> threads;
    for (int j = 0; j < kJobs; ++j)
        jobs.push_back(std::unique_ptr<Job>(new Job(files)));
    for (int j = 0; j < kJobs; ++j)
        threads.emplace_back([&, j] {
            const auto i = static_cast<std::size_t>(j % kInputs);
            ok[static_cast<std::size_t>(j)] =
                jobs[static_cast<std::size_t>(j)]->run(inputs[i], j < 2 * kInputs, 64u << (j % 5));
        });
    for (auto& t : threads)
        t.join();
    for (std::size_t j = 0; j < kJobs; ++j)
        EXPECT_TRUE(ok[j]) << "job " << j << ": " << jobs[j]->window.resultsText;
    for (std::size_t i = 0; i < kInputs; ++i) {
        SCOPED_TRACE(inputs[i]);
        EXPECT_EQ(TempFolder::read(inputs[i]), before[i]);
        auto made = inputs[i];
        made.insert(made.size() - 4, "-POBS");
        EXPECT_EQ(TempFolder::read(made), expected[i]);
    }
}

} // namespace
} // namespace zembrel::xer
