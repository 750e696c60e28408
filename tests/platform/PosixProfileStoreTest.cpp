#include "platform/posix/PosixProfileStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zembrel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class PosixProfileStoreTest : public ::testing::Test {
protected:
    std::string get(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "dflt", std::size_t size = 1000) {
        return store.getString(section, key, def, size, file);
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }

    test::TempFolder dir;
    PosixProfileStore store;
};

TEST_F(PosixProfileStoreTest, NamesMatchWithoutRegardToCaseAndSurroundingBlanks) {
    const auto f = dir.write("a.ini", "[ open ]\r\n  Top\t =12\r\n");
    EXPECT_EQ(get(f, "OPEN", "TOP"), "12");
    EXPECT_EQ(get(f, " Open\t", " tOP "), "12");
    EXPECT_EQ(get(f, "OPENX", "TOP"), "dflt");
    EXPECT_EQ(get(f, "OPEN", "TO"), "dflt");
}

TEST_F(PosixProfileStoreTest, ValuesLoseBlanksThenOnePairOfMatchingQuotes) {
    const auto f = dir.write("a.ini", "[S]\r\n"
                                      "A= \t\"x y\" \t\r\n"
                                      "B='q'\r\n"
                                      "C=\"a'\r\n"
                                      "D=\"\"x\"\"\r\n"
                                      "E=\" \"\r\n"
                                      "F=a = b\r\n"
                                      "G=\"\r\n");
    EXPECT_EQ(get(f, "S", "A"), "x y");
    EXPECT_EQ(get(f, "S", "B"), "q");
    EXPECT_EQ(get(f, "S", "C"), "\"a'");
    EXPECT_EQ(get(f, "S", "D"), "\"x\"");
    EXPECT_EQ(get(f, "S", "E"), " ");
    EXPECT_EQ(get(f, "S", "F"), "a = b");
    EXPECT_EQ(get(f, "S", "G"), "\"");
}

TEST_F(PosixProfileStoreTest, EmptyValueIsNotTheDefault) {
    const auto f = dir.write("a.ini", "[S]\r\nK=\r\nQ=\"\"\r\nB=  \t\r\n");
    EXPECT_EQ(get(f, "S", "K"), "");
    EXPECT_EQ(get(f, "S", "Q"), "");
    EXPECT_EQ(get(f, "S", "B"), "");
}

TEST_F(PosixProfileStoreTest, MissingFileSectionOrKeyGivesTheDefaultWithoutTrailingBlanks) {
    const auto f = dir.write("a.ini", "K=outside\r\n[S]\r\nK=1\r\n[T]\r\n");
    EXPECT_EQ(get(dir.file("none.ini"), "S", "K", " C:\\  "), " C:\\");
    EXPECT_EQ(get(f, "U", "K", "TRUE "), "TRUE");
    EXPECT_EQ(get(f, "T", "K", "x"), "x");
    EXPECT_EQ(get(dir.path(), "S", "K", "folder"), "folder");
}

TEST_F(PosixProfileStoreTest, AtMostBufferSizeLessOneCharactersArrive) {
    const auto f = dir.write("a.ini", "[S]\r\nK=0123456789\r\n");
    EXPECT_EQ(get(f, "S", "K", "", 5), "0123");
    EXPECT_EQ(get(f, "S", "K", "", 1), "");
    EXPECT_EQ(get(f, "S", "K", "", 0), "");
    EXPECT_EQ(get(f, "S", "none", "abcdef", 4), "abc");
    const auto g = dir.write("b.ini", "[S]\r\nK=" + std::string(1500, 'x') + "\r\n");
    EXPECT_EQ(get(g, "S", "K").size(), 999u);
}

TEST_F(PosixProfileStoreTest, FirstOfDuplicatesWinsForReadingAndWriting) {
    const auto f = dir.write("a.ini", "[S]\r\nK=first\r\nk=second\r\n[S]\r\nK=third\r\nL=4\r\n");
    EXPECT_EQ(get(f, "S", "K"), "first");
    EXPECT_EQ(get(f, "S", "L"), "dflt");
    ASSERT_TRUE(store.writeString("S", "K", "new", f));
    EXPECT_EQ(test::TempFolder::read(f), "[S]\r\nK=new\r\nk=second\r\n[S]\r\nK=third\r\nL=4\r\n");
}

TEST_F(PosixProfileStoreTest, AnyLineEndEndsALine) {
    const auto lf = dir.write("lf.ini", "[S]\nA=1\nB=2");
    const auto cr = dir.write("cr.ini", "[S]\rA=1\rB=2\r");
    const auto mixed = dir.write("mixed.ini", "[S]\r\nA=1\rB=2\n\n");
    for (const auto& f : {lf, cr, mixed}) {
        EXPECT_EQ(get(f, "S", "A"), "1") << f;
        EXPECT_EQ(get(f, "S", "B"), "2") << f;
    }
}

TEST_F(PosixProfileStoreTest, WritingReplacesTheValueInPlaceInTheKeysOwnSpelling) {
    const auto f = dir.write("a.ini", "; family settings\r\n[configure]\r\n  Sound_On = TRUE \r\n"
                                      "XER_LOCATION=/jobs/\r\n");
    ASSERT_TRUE(store.writeString("CONFIGURE", "SOUND_ON", "FALSE", f));
    EXPECT_EQ(test::TempFolder::read(f), "; family settings\r\n[configure]\r\n  Sound_On=FALSE\r\n"
                                         "XER_LOCATION=/jobs/\r\n");
}

TEST_F(PosixProfileStoreTest, NewKeyGoesAfterTheSectionsLastLineBeforeBlankLines) {
    const auto f = dir.write("a.ini", "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
    ASSERT_TRUE(store.writeString("A", "Z", "3", f));
    EXPECT_EQ(test::TempFolder::read(f), "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n");
    const auto g = dir.write("b.ini", "[A]\nX=1");
    ASSERT_TRUE(store.writeString("A", "Y", "2", g));
    EXPECT_EQ(test::TempFolder::read(g), "[A]\nX=1\r\nY=2\r\n");
    const auto h = dir.write("c.ini", "[A]\r\n[B]\r\n");
    ASSERT_TRUE(store.writeString("A", "K", "v", h));
    EXPECT_EQ(test::TempFolder::read(h), "[A]\r\nK=v\r\n[B]\r\n");
}

TEST_F(PosixProfileStoreTest, NewSectionGoesAtTheEndAndNewFileIsCreated) {
    const auto f = dir.write("a.ini", "X=no section\rY=2");
    ASSERT_TRUE(store.writeString("OPEN", "TOP", " 1785", f));
    EXPECT_EQ(test::TempFolder::read(f), "X=no section\rY=2\r\n[OPEN]\r\nTOP= 1785\r\n");
    EXPECT_EQ(get(f, "OPEN", "TOP"), "1785");

    const auto g = dir.file("new.ini");
    ASSERT_TRUE(store.writeString("OPEN", "TOP", " 1", g));
    ASSERT_TRUE(store.writeString("OPEN", "LEFT", "-2", g));
    EXPECT_EQ(test::TempFolder::read(g), "[OPEN]\r\nTOP= 1\r\nLEFT=-2\r\n");
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(PosixProfileStoreTest, OtherLinesOfAnOddFileStayByteForByte) {
    const std::string binary = "\x01\xff\x00\x7f\x7f garbage = [x\r"s;
    const auto f = dir.write("a.ini", binary + "[CONFIGURE]\rVIDEO_PLAYER=/usr/bin/mpv\r" +
                                          "\x00\x1a\n"s + "XER_LOCATION=/old/\rTAIL=\xe9\r"s);
    EXPECT_EQ(get(f, "CONFIGURE", "VIDEO_PLAYER"), "/usr/bin/mpv");
    ASSERT_TRUE(store.writeString("CONFIGURE", "XER_LOCATION", "/new/", f));
    EXPECT_EQ(test::TempFolder::read(f), binary + "[CONFIGURE]\rVIDEO_PLAYER=/usr/bin/mpv\r" +
                                             "\x00\x1a\n"s + "XER_LOCATION=/new/\rTAIL=\xe9\r"s);
    EXPECT_EQ(get(f, "CONFIGURE", "TAIL"), "\xe9");
}

TEST_F(PosixProfileStoreTest, LineEndsInValuesOrNamesAreRefusedAndTheFileKept) {
    const std::string text = "[CONFIGURE]\r\nSOUND_ON=FALSE\r\n";
    const auto f = dir.write("a.ini", text);
    EXPECT_FALSE(store.writeString("CONFIGURE", "XER_LOCATION", "/a\n[OPEN]\nTOP=1/", f));
    EXPECT_FALSE(store.writeString("CONFIGURE", "XER_LOCATION", "/a\rb/", f));
    EXPECT_FALSE(store.writeString("CONFIGURE", "SOUND_ON=TRUE\r\nX", "1", f));
    EXPECT_FALSE(store.writeString("CONFIGURE", "A=B", "1", f));
    EXPECT_FALSE(store.writeString("CONFIGURE", " ", "1", f));
    EXPECT_FALSE(store.writeString("OPEN]", "K", "1", f));
    EXPECT_EQ(test::TempFolder::read(f), text);
    EXPECT_FALSE(store.writeString("S", "K", "1", dir.file("no/such/folder.ini")));
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(PosixProfileStoreTest, ReadOnlyFileIsNotWritten) {
    const std::string text = "[CONFIGURE]\r\nSOUND_ON=FALSE\r\n";
    const auto f = dir.write("a.ini", text);
    ::chmod(f.c_str(), 0444);
    EXPECT_EQ(store.writeString("CONFIGURE", "XER_LOCATION", "/x/", f).failure().number, 70);
    EXPECT_EQ(test::TempFolder::read(f), text);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(PosixProfileStoreTest, UnreadableFileOrFolderIsNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string text = "[CONFIGURE]\r\nSOUND_ON=FALSE\r\n";
    const auto f = dir.write("a.ini", text);
    ::chmod(f.c_str(), 0200);
    EXPECT_FALSE(store.writeString("CONFIGURE", "XER_LOCATION", "/x/", f));
    ::chmod(f.c_str(), 0644);
    EXPECT_EQ(test::TempFolder::read(f), text);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(store.writeString("CONFIGURE", "XER_LOCATION", "/x/", f));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::TempFolder::read(f), text);
}

TEST_F(PosixProfileStoreTest, ReplacementKeepsModeAndSymbolicLink) {
    const auto f = dir.write("real.ini", "[S]\r\nK=1\r\n");
    ::chmod(f.c_str(), 0640);
    const auto link = dir.file("link.ini");
    fs::create_symlink(f, link);
    ASSERT_TRUE(store.writeString("S", "K", "2", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::TempFolder::read(f), "[S]\r\nK=2\r\n");
    struct stat st {};
    ::stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(filesInFolder(), 2u);
}

} // namespace
} // namespace zembrel
