// The companion stopped by SIGINT or SIGTERM at any moment of a purge: the input never changes,
// and the folder holds nothing but the input and complete files ("Temp.TXT" and the new file,
// each exactly what an uninterrupted run makes). A closed output and a file-size limit end in
// a message, not in a signal.
#include "TempFolder.h"
#include "XerText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zembrel {
namespace {

namespace fs = std::filesystem;

// Starts the companion with arguments, standard output and error on the descriptors given (which
// are closed here once it has them); before it starts, the child does what limit says.
pid_t start(
    std::vector<std::string> args, int out, int err, void (*limit)() = [] {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        limit();
        std::vector<char*> argv{const_cast<char*>(ZEMBREL_COMPANION)};
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv("./" ZEMBREL_COMPANION, argv.data());
        ::_exit(127);
    }
    ::close(out);
    if (err != out)
        ::close(err);
    return pid;
}

// Starts the companion purging path; standard output and error go nowhere.
pid_t startPurge(const std::string& path) {
    const int null = ::open("/dev/null", O_WRONLY);
    return start({"purge", "--yes", path}, null, null);
}

int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// A few MB, so that a signal falls inside each of the purge's passes.
std::string bigSchedule() {
    std::vector<std::string> lines = {"ERMHDR\t8.0", "%T\tPOBS", "%F\tobs_id\tname"};
    for (int i = 0; i < 60000; ++i)
        lines.push_back("%R\t" + std::to_string(i) + "\tsome organisational unit");
    lines.insert(lines.end(), {"%T\tRISKTYPE", "%F\trisk_type_id\tname", "%R\t1\tused",
                               "%R\t2\tunused", "%T\tPROJRISK", "%F\trisk_id\trisk_type_id"});
    for (int i = 0; i < 60000; ++i)
        lines.push_back("%R\tR" + std::to_string(i) + "\t1");
    lines.push_back("%E");
    return test::crlf(lines);
}

TEST(CompanionInterruptTest, AStoppedPurgeLeavesNoPartialFileAndTheInputAsItWas) {
    test::TempFolder reference;
    const std::string content = bigSchedule();
    const auto whole = reference.write("Plan.xer", content);
    ASSERT_EQ(waitFor(startPurge(whole)), 0);
    const auto expectedNew = test::TempFolder::read(reference.file("Plan-POBS.xer"));
    const auto expectedTemp = test::TempFolder::read(reference.file("Temp.TXT"));

    std::mt19937 random(20261206);
    for (int round = 0; round < 12; ++round) {
        const int signal = round % 2 ? SIGTERM : SIGINT;
        const auto delay = std::chrono::microseconds(random() % 150000);
        SCOPED_TRACE("signal " + std::to_string(signal) + " after " +
                     std::to_string(delay.count()) + " us");
        test::TempFolder dir;
        const auto plan = dir.write("Plan.xer", content);
        const pid_t pid = startPurge(plan);
        std::this_thread::sleep_for(delay);
        ::kill(pid, signal);
        const int status = waitFor(pid);
        EXPECT_TRUE(WIFSIGNALED(status) || WIFEXITED(status));
        EXPECT_EQ(test::TempFolder::read(plan), content);
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const auto name = entry.path().filename().string();
            SCOPED_TRACE(name);
            if (name == "Plan-POBS.xer")
                EXPECT_EQ(test::TempFolder::read(entry.path().string()), expectedNew);
            else if (name == "Temp.TXT")
                EXPECT_EQ(test::TempFolder::read(entry.path().string()), expectedTemp);
            else
                EXPECT_EQ(name, "Plan.xer");
        }
    }
}

TEST(CompanionSignalsTest, AClosedOutputOrAFileSizeLimitEndsInAMessage) {
    test::TempFolder dir;
    const auto plan = dir.write("Plan.xer", bigSchedule());
    const auto errors = dir.file("errors");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]); // nobody reads the report: the write fails with EPIPE, nothing more is done
    int status = waitFor(start({"purge", "--yes", plan}, ends[1],
                               ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(test::TempFolder::read(errors),
              "zembrelpobs-cli: the report cannot be written to standard output\n");
    EXPECT_FALSE(fs::exists(dir.file("Plan-POBS.xer")));

    status = waitFor(start({"purge", "--yes", plan}, ::open("/dev/null", O_WRONLY),
                           ::open(errors.c_str(), O_WRONLY | O_TRUNC), [] {
                               const rlimit limit{1 << 16, 1 << 16}; // the copy is far bigger
                               ::setrlimit(RLIMIT_FSIZE, &limit);
                           }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(test::TempFolder::read(errors),
              "Plovard: ERROR #61, Disk full occured.  New file not created.\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2); // the input and errors
}

} // namespace
} // namespace zembrel
