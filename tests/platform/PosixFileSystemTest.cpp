#include "platform/posix/PosixFileSystem.h"
#include "TempFolder.h"
#include "platform/posix/PosixIo.h"
#include "platform/posix/TemporaryNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zembrel {
namespace {

class PosixFileSystemTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, OnlyRegularFilesExist) {
    const auto file = dir.write("a.xer", "x");
    EXPECT_TRUE(fs.fileExists(file));
    EXPECT_FALSE(fs.fileExists(dir.path()));
    EXPECT_FALSE(fs.fileExists(dir.file("none")));
    EXPECT_FALSE(fs.fileExists(""));
    EXPECT_TRUE(fs.folderExists(dir.path()));
    EXPECT_FALSE(fs.folderExists(file));
}

TEST_F(PosixFileSystemTest, OpeningReportsWhatIsWrongWithThePath) {
    EXPECT_EQ(fs.openRead(dir.file("none")).failure().number, 53);
    EXPECT_EQ(fs.openRead(dir.file("no/such/file")).failure().number, 76);
    EXPECT_EQ(fs.openRead(dir.path()).failure().number, 75);
    EXPECT_EQ(fs.openRead("").failure().number, 52);
    EXPECT_EQ(fs.createScratch(dir.file("missing/")).failure().number, 76);
}

TEST_F(PosixFileSystemTest, ErrnoValuesMapOntoTheCommonNumbers) {
    EXPECT_EQ(failureFromErrno(EACCES, "x").number, 70);
    EXPECT_EQ(failureFromErrno(EROFS, "x").number, 70);
    EXPECT_EQ(failureFromErrno(ENOSPC, "x").number, 61);
    EXPECT_EQ(failureFromErrno(EIO, "x").number, 57);
    EXPECT_EQ(failureFromErrno(EXDEV, "x").number, 74);
    EXPECT_EQ(failureFromErrno(EISDIR, "x").description, "Path/File access error");
}

TEST_F(PosixFileSystemTest, ReadsAndRepairsInPlace) {
    const auto path = dir.write("f", std::string("abc\x1a"
                                                 "def",
                                                 7));
    {
        auto rw = fs.openReadWrite(path);
        ASSERT_TRUE(rw.ok());
        char c = 0;
        ASSERT_EQ(*(*rw)->readAt(3, &c, 1), 1u);
        EXPECT_EQ(c, '\x1a');
        ASSERT_TRUE((*rw)->writeAt(3, " ", 1).ok());
    }
    EXPECT_EQ(test::TempFolder::read(path), "abc def");
    auto in = fs.openRead(path);
    ASSERT_TRUE(in.ok());
    EXPECT_EQ((*in)->size(), 7u);
    ASSERT_TRUE((*in)->seek(4).ok());
    char buffer[8] = {};
    EXPECT_EQ(*(*in)->read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(std::string(buffer, 3), "def");
}

TEST_F(PosixFileSystemTest, NamesAreToldApartByTheFileTheyReach) {
    const auto file = dir.write("a.xer", "x");
    std::filesystem::create_symlink(file, dir.file("link"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling"));
    std::filesystem::create_hard_link(file, dir.file("hard"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(fs.fileId(dir.file("link")), fs.fileId(file));
    EXPECT_EQ(fs.fileId(dir.file("hard")), fs.fileId(file));
    EXPECT_EQ((*fs.openRead(dir.file("link")))->id(), fs.fileId(file));
    EXPECT_NE(fs.fileId(dir.write("b.xer", "x")), fs.fileId(file));
    EXPECT_FALSE(fs.fileId(dir.file("dangling")));
    const std::pair<std::string, EntryKind> kinds[] = {{file, EntryKind::File},
                                                       {dir.file("link"), EntryKind::Other},
                                                       {dir.file("dangling"), EntryKind::Other},
                                                       {dir.file("fifo"), EntryKind::Other},
                                                       {dir.path(), EntryKind::Folder},
                                                       {dir.file("none"), EntryKind::None}};
    for (const auto& [path, kind] : kinds)
        EXPECT_EQ(fs.entryKind(path), kind) << path;
}

class ScratchTest : public PosixFileSystemTest, public ::testing::WithParamInterface<bool> {
protected:
    ScratchTest() { fs.useUnnamedFiles = GetParam(); }
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
};

INSTANTIATE_TEST_SUITE_P(Kinds, ScratchTest, ::testing::Bool(),
                         [](const auto& kind) { return kind.param ? "Unnamed" : "HiddenName"; });

TEST_P(ScratchTest, AScratchFileIsReadBackThroughItsHandleAndKeptUnderItsName) {
    dir.write("Temp.TXT", "an earlier intermediate");
    auto scratch = fs.createScratch(dir.path() + "/");
    ASSERT_TRUE(scratch.ok());
    ASSERT_TRUE((*scratch)->write("ERMHDR\r\n", 8).ok());
    // Until it is kept, the file has no name, or a short hidden one.
    const auto before = names();
    ASSERT_EQ(before.size(), GetParam() ? 1u : 2u);
    if (!GetParam()) {
        EXPECT_TRUE(before[0].starts_with(".zbp-"));
        EXPECT_LT(before[0].size(), 20u);
    }
    ASSERT_TRUE((*scratch)->keepAs(dir.file("Temp.TXT")).ok());
    EXPECT_EQ(names(), std::vector<std::string>{"Temp.TXT"});
    // Another purge puts its own file under the name: the handle still reads what was written.
    std::filesystem::rename(dir.write("other", "someone else's"), dir.file("Temp.TXT"));
    auto back = (*scratch)->readBack();
    ASSERT_TRUE(back.ok());
    char buffer[16] = {};
    EXPECT_EQ(*(*back)->read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(buffer, 8), "ERMHDR\r\n");
    EXPECT_EQ(std::filesystem::status(dir.file("Temp.TXT")).permissions() &
                  std::filesystem::perms::others_write,
              std::filesystem::perms::none); // the umask applies as to any new file
}

TEST_P(ScratchTest, AScratchFileNotKeptLeavesNothing) {
    {
        auto scratch = fs.createScratch(dir.path() + "/");
        ASSERT_TRUE(scratch.ok());
        ASSERT_TRUE((*scratch)->write("abc", 3).ok());
        std::filesystem::create_directory(dir.file("sub"));
        EXPECT_EQ((*scratch)->keepAs(dir.file("sub")).failure().number, 75);
        EXPECT_EQ((*scratch)->keepAs(dir.file("no/such")).failure().number, 76);
    }
    EXPECT_EQ(names(), std::vector<std::string>{"sub"});
}

TEST_P(ScratchTest, CopiesAWholeFileAndNoticesOneThatChanges) {
    const std::string content(3 << 20, 'c');
    const auto path = dir.write("in", content);
    auto scratch = fs.createScratch(dir.path() + "/");
    auto in = fs.openRead(path);
    ASSERT_TRUE((*scratch)->copyFrom(**in).ok());
    ASSERT_TRUE((*scratch)->keepAs(dir.file("out")).ok());
    EXPECT_TRUE(test::TempFolder::read(dir.file("out")) == content);

    auto shrinking = fs.openRead(path);
    std::filesystem::resize_file(path, 1000);
    auto second = fs.createScratch(dir.path() + "/");
    EXPECT_EQ((*second)->copyFrom(**shrinking).failure().number, 62);
    auto growing = fs.openRead(path);
    dir.write("in", std::string(2000, 'g'));
    EXPECT_EQ((*second)->copyFrom(**growing).failure().number, 75);
}

TEST_F(PosixFileSystemTest, AnInterruptedProgramRemovesItsTemporaryFiles) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const auto path = dir.write("partial-" + std::to_string(signal), "half");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            removeTemporariesOnInterrupt();
            TemporaryName name(path);
            ::raise(signal);
            ::_exit(0); // not reached: the signal ends the program as it would have
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_FALSE(std::filesystem::exists(path)) << signal;
    }
    const auto kept = dir.write("kept", "whole");
    TemporaryName(kept).release();
    EXPECT_TRUE(std::filesystem::exists(kept));
}

TEST_F(PosixFileSystemTest, AFullDeviceIsReportedAsDiskFull) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    Descriptor full = openDescriptor("/dev/full", O_WRONLY);
    ASSERT_TRUE(full.valid());
    EXPECT_EQ(writeAll(full, "x", "/dev/full").failure().number, 61);
}

TEST_F(PosixFileSystemTest, CreatesOneFolderLevel) {
    EXPECT_TRUE(fs.createFolder(dir.file("new")).ok());
    EXPECT_TRUE(fs.folderExists(dir.file("new")));
    EXPECT_EQ(fs.createFolder(dir.file("x/y")).failure().number, 76);
    EXPECT_FALSE(fs.createFolder(dir.file("new")).ok());
}

} // namespace
} // namespace zembrel
