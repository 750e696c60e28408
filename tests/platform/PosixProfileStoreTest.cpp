#include "platform/posix/PosixProfileStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

// The file side of the profile store; the rules on the text are IniTextTest's.
namespace zembrel {
namespace {

namespace fs = std::filesystem;

const std::string kText = "[CONFIGURE]\r\nSOUND_ON=FALSE\r\n";

class PosixProfileStoreTest : public ::testing::Test {
protected:
    Status setLocation(const std::string& file, const std::string& value = "/x/") {
        return store.writeString("CONFIGURE", "XER_LOCATION", value, file);
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }

    test::TempFolder dir;
    PosixProfileStore store;
};

TEST_F(PosixProfileStoreTest, MissingOrWrittenFilesReadAsTheyShouldWithoutLeftovers) {
    const auto f = dir.write("a.ini", kText);
    ASSERT_TRUE(setLocation(f, " /jobs/"));
    EXPECT_EQ(test::TempFolder::read(f), kText + "XER_LOCATION= /jobs/\r\n");
    EXPECT_EQ(store.getString("CONFIGURE", "XER_LOCATION", "", 9, f), "/jobs/");
    const auto g = dir.file("new.ini");
    EXPECT_EQ(store.getString("S", "K", " C:\\  ", 9, g), " C:\\");
    EXPECT_EQ(store.getString("S", "K", "folder", 9, dir.path()), "folder");
    ASSERT_TRUE(setLocation(g));
    EXPECT_EQ(test::TempFolder::read(g), "[CONFIGURE]\r\nXER_LOCATION=/x/\r\n");
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(PosixProfileStoreTest, RefusedOrReadOnlyWritesLeaveTheFolderAsItWas) {
    const auto f = dir.write("a.ini", kText);
    EXPECT_EQ(setLocation(f, "/a\nb/").failure().number, 5);
    EXPECT_FALSE(setLocation(dir.file("no/such/folder.ini")));
    ::chmod(f.c_str(), 0444);
    EXPECT_EQ(setLocation(f).failure().number, 70);
    EXPECT_EQ(test::TempFolder::read(f), kText);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(PosixProfileStoreTest, UnreadableFileOrFolderIsNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const auto f = dir.write("a.ini", kText);
    ::chmod(f.c_str(), 0200);
    EXPECT_FALSE(setLocation(f));
    ::chmod(f.c_str(), 0644);
    EXPECT_EQ(test::TempFolder::read(f), kText);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(setLocation(f));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::TempFolder::read(f), kText);
}

TEST_F(PosixProfileStoreTest, ReplacementKeepsModeAndSymbolicLink) {
    const auto f = dir.write("real.ini", kText);
    ::chmod(f.c_str(), 0640);
    const auto link = dir.file("link.ini");
    fs::create_symlink(f, link);
    ASSERT_TRUE(store.writeString("CONFIGURE", "SOUND_ON", "TRUE", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::TempFolder::read(f), "[CONFIGURE]\r\nSOUND_ON=TRUE\r\n");
    struct stat st {};
    ::stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(filesInFolder(), 2u);
}

} // namespace
} // namespace zembrel
