#include "platform/posix/PosixFileSystem.h"
#include "TempFolder.h"
#include "platform/posix/PosixIo.h"
#include "platform/posix/TemporaryNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zembrel {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
protected:
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    test::TempFolder dir;
    PosixFileSystem files;
};

// Names are told apart by what they stand for and by the file they reach; opening one says what
// is wrong with it.
TEST_F(PosixFileSystemTest, EveryKindOfNameIsToldApart) {
    const auto file = dir.write("a.xer", "x");
    dir.write("b.xer", "x");
    fs::create_symlink(file, dir.file("link"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling"));
    fs::create_hard_link(file, dir.file("hard"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    enum Id { Same, Another, None };
    const struct {
        std::string path;
        bool file, folder;
        EntryKind kind;
        int open; // the failure number of openRead, 0 when it opens, -1 when not tried
        Id id;
    } cases[] = {
        {file, true, false, EntryKind::File, 0, Same},
        {dir.file("hard"), true, false, EntryKind::File, 0, Same},
        {dir.file("link"), true, false, EntryKind::Link, 0, Same},
        {dir.file("b.xer"), true, false, EntryKind::File, 0, Another},
        {dir.file("dangling"), false, false, EntryKind::Link, 53, None},
        // Refused at once: an open that waited for a writer would never end.
        {dir.file("fifo"), false, false, EntryKind::Other, 75, Another},
        {dir.path(), false, true, EntryKind::Folder, 75, Another},
        {dir.file("none"), false, false, EntryKind::None, 53, None},
        {dir.file("no/such/file"), false, false, EntryKind::None, 76, None},
        {"", false, false, EntryKind::None, 52, None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.fileExists(c.path), c.file);
        EXPECT_EQ(files.folderExists(c.path), c.folder);
        EXPECT_EQ(files.entryKind(c.path), c.kind);
        const auto id = files.fileId(c.path);
        EXPECT_EQ(id ? (id == files.fileId(file) ? Same : Another) : None, c.id);
        const auto opened = files.openRead(c.path);
        EXPECT_EQ(opened ? 0 : opened.failure().number, c.open);
        if (opened) {
            EXPECT_EQ((*opened)->id(), id);
        }
        if (c.kind == EntryKind::Other) {
            EXPECT_EQ(files.openReadWrite(c.path).failure().number, 75);
        }
    }
}

// A name that cannot be made is found before any work: too long for its folder, a folder or a
// link to one, or a folder that cannot be listed at all. A folder is made one level at a time.
TEST_F(PosixFileSystemTest, DoomedNamesAndUnreadableFoldersFailAtOnce) {
    ASSERT_TRUE(files.createFolder(dir.file("sub")).ok());
    EXPECT_EQ(files.createFolder(dir.file("sub")).failure().number, 58);
    EXPECT_EQ(files.createFolder(dir.file("x/y")).failure().number, 76);
    fs::create_symlink(dir.file("sub"), dir.file("to-sub"));
    const std::string longName(250, 'n');
    EXPECT_TRUE(files.canCreate(dir.file(longName + ".xer")).ok());
    EXPECT_TRUE(files.canCreate(dir.file("dangling-to-nothing")).ok());
    const std::pair<std::string, int> cases[] = {
        {dir.file(longName + "-POBS.xer"), 52},
        {dir.file("sub"), 75},
        {dir.file("to-sub"), 75},
        {dir.file("no/such"), 76},
        {dir.path() + "/" + std::string(5000, 'd') + "/x", 52},
    };
    for (const auto& [path, number] : cases) {
        const Status s = files.canCreate(path);
        EXPECT_EQ(s.ok() ? 0 : s.failure().number, number) << path.substr(0, 80);
    }
    EXPECT_EQ(files.folderEntries(dir.file("none")).failure().number, 53);
    EXPECT_EQ(files.folderEntries(dir.path() + "/" + std::string(5000, 'd')).failure().number, 52);
    EXPECT_EQ(*files.folderEntries(dir.path()), (std::vector<std::string>{"sub", "to-sub"}));
    if (::geteuid() != 0) { // root may write and list anything
        fs::permissions(dir.file("sub"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(files.canCreate(dir.file("sub/x")).failure().number, 70);
        fs::permissions(dir.file("sub"), fs::perms::owner_write);
        EXPECT_EQ(files.folderEntries(dir.file("sub")).failure().number, 70);
        fs::permissions(dir.file("sub"), fs::perms::owner_all);
    }
}

TEST_F(PosixFileSystemTest, ErrnoValuesMapOntoTheCommonNumbers) {
    const std::pair<int, int> cases[] = {
        {EACCES, 70}, {EROFS, 70},   {ENOSPC, 61}, {EDQUOT, 61}, {EIO, 57},         {EXDEV, 74},
        {EISDIR, 75}, {ENOTDIR, 76}, {EEXIST, 58}, {EMFILE, 67}, {ENAMETOOLONG, 52}};
    for (const auto& [error, number] : cases)
        EXPECT_EQ(failureFromErrno(error, "x").number, number) << error;
    EXPECT_EQ(failureFromErrno(EISDIR, "x").description, "Path/File access error");
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
        EXPECT_FALSE(fs::exists(path)) << signal;
    }
    const auto kept = dir.write("kept", "whole");
    TemporaryName(kept).release();
    EXPECT_TRUE(fs::exists(kept));
}

class ScratchTest : public PosixFileSystemTest, public ::testing::WithParamInterface<bool> {
protected:
    ScratchTest() { files.useUnnamedFiles = GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Kinds, ScratchTest, ::testing::Bool(),
                         [](const auto& kind) { return kind.param ? "Unnamed" : "HiddenName"; });

TEST_P(ScratchTest, AScratchFileIsReadBackThroughItsHandleAndKeptUnderItsName) {
    dir.write("Temp.TXT", "an earlier intermediate");
    auto scratch = files.createScratch(dir.path() + "/", std::nullopt);
    ASSERT_TRUE(scratch.ok());
    (*scratch)->reserve(64 << 20); // given back when the file is kept
    ASSERT_TRUE((*scratch)->write("ERMHDR\r\n", 8).ok());
    // Until it is kept, the file has no name, or a short hidden one.
    const auto before = names();
    ASSERT_EQ(before.size(), GetParam() ? 1u : 2u);
    if (!GetParam()) {
        EXPECT_TRUE(before[0].starts_with(".zbp-"));
        EXPECT_LT(before[0].size(), 20u);
    }
    // Only what the caller agreed to replace is replaced.
    EXPECT_EQ((*scratch)->keepAs(dir.file("Temp.TXT"), ScratchFile::Replace::No).failure().number,
              58);
    EXPECT_EQ(test::TempFolder::read(dir.file("Temp.TXT")), "an earlier intermediate");
    ASSERT_TRUE((*scratch)->keepAs(dir.file("Temp.TXT"), ScratchFile::Replace::Yes).ok());
    EXPECT_EQ(names(), std::vector<std::string>{"Temp.TXT"});
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("Temp.TXT").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 8);
    EXPECT_LT(st.st_blocks * 512, 1 << 20);
    // Another purge puts its own file under the name: the handle still reads what was written.
    fs::rename(dir.write("other", "someone else's"), dir.file("Temp.TXT"));
    auto back = (*scratch)->readBack();
    ASSERT_TRUE(back.ok());
    char buffer[16] = {};
    EXPECT_EQ(*(*back)->read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(buffer, 8), "ERMHDR\r\n");
    EXPECT_EQ(fs::status(dir.file("Temp.TXT")).permissions() & fs::perms::others_write,
              fs::perms::none); // the umask applies as to any new file
}

TEST_P(ScratchTest, AScratchFileNotKeptLeavesNothing) {
    EXPECT_EQ(files.createScratch(dir.file("missing/"), std::nullopt).failure().number, 76);
    fs::create_symlink(dir.file("gone"), dir.file("dangling"));
    {
        auto scratch = files.createScratch(dir.path() + "/", std::nullopt);
        ASSERT_TRUE((*scratch)->write("abc", 3).ok());
        fs::create_directory(dir.file("sub"));
        for (const auto replace : {ScratchFile::Replace::No, ScratchFile::Replace::Yes}) {
            EXPECT_EQ((*scratch)->keepAs(dir.file("sub"), replace).failure().number, 75);
            EXPECT_EQ((*scratch)->keepAs(dir.file("no/such"), replace).failure().number, 76);
        }
        // A link that reaches nothing still stands under the name.
        EXPECT_EQ(
            (*scratch)->keepAs(dir.file("dangling"), ScratchFile::Replace::No).failure().number,
            58);
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"dangling", "sub"}));
}

// A copy is no more readable than its source (the umask still applies, as with cp).
TEST_P(ScratchTest, TheNewFileTakesTheGivenPermissions) {
    const auto source = dir.write("private.xer", "x");
    fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
    const auto mode = (*files.openRead(source))->permissions();
    ASSERT_EQ(mode, 0600u);
    const mode_t mask = ::umask(027);
    for (const auto& [permissions, expected] :
         {std::pair{mode, 0600u}, {std::optional<std::uint32_t>(0666), 0640u}}) {
        auto scratch = files.createScratch(dir.path() + "/", permissions);
        const auto name = dir.file("copy-" + std::to_string(expected));
        ASSERT_TRUE((*scratch)->keepAs(name, ScratchFile::Replace::No).ok());
        struct stat st {};
        ASSERT_EQ(::stat(name.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, expected);
    }
    ::umask(mask);
}

} // namespace
} // namespace zembrel
