#include "TempFolder.h"
#include "XerText.h"
#include "fakes/FakePromptPlayer.h"
#include "fakes/FakeUi.h"
#include "platform/NativeBackEnd.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <thread>

namespace zembrel::xer {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// One purge as the window runs it, with services of its own over the real file system.
struct Purger {
    explicit Purger(native::NativeFileSystem& fs) : files(fs) {}
    native::NativeFileSystem& files;
    test::FakeBoxes boxes;
    test::FakeEvents events;
    test::FakePointer pointer;
    test::FakeSurface window;
    test::FakePromptPlayer prompts;
    AppState state;

    PurgeOutcome purge(const std::string& path, std::size_t blockSize = 256 * 1024) {
        Platform platform{files, boxes, events, pointer, blockSize, native::pathRules({})};
        state.CurrentXerPath = path;
        state.CurrentXerName = fs::path(path).filename().string();
        if (PerformSurvey(state, window, platform) != SurveyOutcome::Reported)
            return PurgeOutcome::Failed;
        return Purge(state, window, platform, prompts);
    }
};

// A schedule with POBS, risk types and risks, told apart by tag; purged, what is left of it.
std::string schedule(const std::string& tag, int records, bool purged = false) {
    std::vector<std::string> lines = {"ERMHDR\t" + tag};
    if (!purged) {
        lines.insert(lines.end(), {"%T\tPOBS", "%F\tpobs_id"});
        for (int i = 0; i < records; ++i)
            lines.push_back("%R\t" + std::to_string(i) + "\t" + tag);
    }
    lines.insert(lines.end(), {"%T\tRISKTYPE", "%F\trisk_type_id\trisk_type", "%R\t1\t" + tag});
    if (!purged)
        lines.push_back("%R\t2\tunused");
    lines.insert(lines.end(), {"%T\tPROJRISK", "%F\trisk_id\trisk_type_id"});
    for (int i = 0; i < records; ++i)
        lines.push_back("%R\t" + tag + std::to_string(i) + "\t1");
    lines.push_back("%E");
    return test::crlf(lines);
}

class PurgeOnDiskTest : public ::testing::Test {
protected:
    TempFolder dir;
    native::NativeFileSystem files;
};

TEST_F(PurgeOnDiskTest, PurgesOfDifferentFilesInOneFolderNeverMixTheirData) {
    for (bool unnamed : {true, false}) {
#ifdef _WIN32
        if (!unnamed)
            continue; // Windows files always get a name of their own
#else
        files.useUnnamedFiles = unnamed;
#endif
        for (int round = 0; round < 10; ++round) {
            const auto a = dir.write("a.xer", schedule("alpha", 300));
            const auto b = dir.write("b.xer", schedule("beta", 200));
            Purger first{files}, second{files};
            PurgeOutcome outcomes[2];
            std::thread other([&] { outcomes[1] = second.purge(b, 64); });
            outcomes[0] = first.purge(a, 64);
            other.join();
            ASSERT_EQ(outcomes[0], PurgeOutcome::Created) << first.window.resultsText;
            ASSERT_EQ(outcomes[1], PurgeOutcome::Created) << second.window.resultsText;
            ASSERT_EQ(TempFolder::read(dir.file("a-POBS.xer")), schedule("alpha", 300, true));
            ASSERT_EQ(TempFolder::read(dir.file("b-POBS.xer")), schedule("beta", 200, true));
        }
    }
}

// FIFOs, symbolic links as plain users make them, and 255-byte names are POSIX's.
#ifndef _WIN32
TEST_F(PurgeOnDiskTest, AnythingButARegularXerFileUnderTheIntermediateNameStays) {
    ASSERT_EQ(::mkfifo(dir.file("Temp.TXT").c_str(), 0600), 0);
    fs::create_symlink(dir.file("nowhere"), dir.file("Temp-2.TXT"));
    fs::create_symlink(dir.write("real.xer", schedule("x", 1)), dir.file("Temp-3.TXT"));
    EXPECT_EQ(Purger{files}.purge(dir.write("Plan.xer", schedule("plan", 2))),
              PurgeOutcome::Created);
    EXPECT_TRUE(fs::is_fifo(dir.file("Temp.TXT")));
    EXPECT_TRUE(fs::is_symlink(dir.file("Temp-2.TXT")));
    EXPECT_TRUE(fs::is_symlink(dir.file("Temp-3.TXT")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("Temp-4.TXT")));
}

TEST_F(PurgeOnDiskTest, NamesAsLongAsTheFileSystemAllowsWork) {
    const std::string name = std::string(255 - 5 - 4, 'n') + ".xer"; // the new name: 255 bytes
    EXPECT_EQ(Purger{files}.purge(dir.write(name, schedule("long", 2))), PurgeOutcome::Created);
    EXPECT_EQ(TempFolder::read(dir.file(std::string(246, 'n') + "-POBS.xer")),
              schedule("long", 2, true));
}

#endif

} // namespace
} // namespace zembrel::xer
