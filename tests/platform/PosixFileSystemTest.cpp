#include "platform/posix/PosixFileSystem.h"
#include "TempFolder.h"
#include "platform/posix/PosixIo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
    EXPECT_EQ(fs.create(dir.path()).failure().number, 75);
    EXPECT_EQ(fs.create(dir.file("missing/out")).failure().number, 76);
    EXPECT_EQ(fs.openRead("").failure().number, 52);
}

TEST_F(PosixFileSystemTest, ErrnoValuesMapOntoTheCommonNumbers) {
    EXPECT_EQ(failureFromErrno(EACCES, "x").number, 70);
    EXPECT_EQ(failureFromErrno(EROFS, "x").number, 70);
    EXPECT_EQ(failureFromErrno(ENOSPC, "x").number, 61);
    EXPECT_EQ(failureFromErrno(EIO, "x").number, 57);
    EXPECT_EQ(failureFromErrno(EXDEV, "x").number, 74);
    EXPECT_EQ(failureFromErrno(EISDIR, "x").description, "Path/File access error");
}

TEST_F(PosixFileSystemTest, ReadsWritesAndRepairsInPlace) {
    const auto path = dir.file("f");
    {
        auto out = fs.create(path);
        ASSERT_TRUE(out.ok());
        ASSERT_TRUE((*out)
                        ->write("abc\x1a"
                                "def",
                                7)
                        .ok());
        ASSERT_TRUE((*out)->close().ok());
    }
    EXPECT_EQ(*fs.fileLength(path), 7u);
    {
        auto rw = fs.openReadWrite(path);
        ASSERT_TRUE(rw.ok());
        char c = 0;
        ASSERT_EQ(*(*rw)->readAt(3, &c, 1), 1u);
        EXPECT_EQ(c, '\x1a');
        ASSERT_TRUE((*rw)->writeAt(3, " ", 1).ok());
        ASSERT_TRUE((*rw)->close().ok());
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

TEST_F(PosixFileSystemTest, RenameCopyAndCreateNewReplaceOnlyWhatTheyMay) {
    const auto a = dir.write("a", "first");
    const auto b = dir.write("b", "second");
    EXPECT_EQ(fs.createNew(b).failure().number, 58);
    ASSERT_TRUE(fs.copy(a, dir.file("c")).ok());
    EXPECT_EQ(test::TempFolder::read(dir.file("c")), "first");
    ASSERT_TRUE(fs.rename(a, b).ok());
    EXPECT_EQ(test::TempFolder::read(b), "first");
    EXPECT_FALSE(fs.fileExists(a));
    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_EQ(fs.rename(b, dir.file("sub")).failure().number, 75);
    EXPECT_TRUE(fs.fileExists(b));
    ASSERT_TRUE(fs.remove(b).ok());
    EXPECT_EQ(fs.remove(b).failure().number, 53);
    EXPECT_EQ(fs.remove(dir.file("sub")).failure().number, 75);
}

TEST_F(PosixFileSystemTest, AFullDeviceIsReportedAsDiskFull) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    auto out = fs.create("/dev/full");
    ASSERT_TRUE(out.ok());
    Status s = (*out)->write("x", 1);
    EXPECT_EQ(s.failure().number, 61);
}

TEST_F(PosixFileSystemTest, CreatesOneFolderLevel) {
    EXPECT_TRUE(fs.createFolder(dir.file("new")).ok());
    EXPECT_TRUE(fs.folderExists(dir.file("new")));
    EXPECT_EQ(fs.createFolder(dir.file("x/y")).failure().number, 76);
    EXPECT_FALSE(fs.createFolder(dir.file("new")).ok());
}

} // namespace
} // namespace zembrel
