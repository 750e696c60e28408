#include "xer/XerLineWriter.h"
#include "fakes/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

TEST(XerLineWriter, EndsEveryLineWithCrLfAndReplacesTheFile) {
    test::FakeFileSystem fs;
    fs.files["out"] = "old content that is longer";
    XerLineWriter writer(std::move(*fs.create("out")), 8);
    ASSERT_TRUE(writer.writeLine("%T\tPOBS").ok());
    ASSERT_TRUE(writer.write("spl").ok());
    ASSERT_TRUE(writer.write("it\x7f\x7f").ok());
    ASSERT_TRUE(writer.endLine().ok());
    ASSERT_TRUE(writer.writeLine("").ok());
    ASSERT_TRUE(writer.writeLine(std::string(20, 'z')).ok()); // longer than the buffer
    ASSERT_TRUE(writer.close().ok());
    EXPECT_EQ(fs.files["out"], "%T\tPOBS\r\nsplit\x7f\x7f\r\n\r\n" + std::string(20, 'z') + "\r\n");
    EXPECT_EQ(fs.openHandles, 0);
}

TEST(XerLineWriter, ReportsADiskThatFillsUp) {
    test::FakeFileSystem fs;
    fs.capacity = 30;
    XerLineWriter writer(std::move(*fs.create("out")), 16);
    Status s;
    for (int i = 0; i < 10 && s.ok(); ++i)
        s = writer.writeLine("0123456789");
    if (s.ok())
        s = writer.close();
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.failure().number, 61);
}

} // namespace
} // namespace zembrel
