#include "platform/PathRules.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

// Both rule sets run here, whatever platform the tests run on.
TEST(PathRules, WindowsPaths) {
    const PathRules rules = PathRules::windows();
    EXPECT_EQ(rules.withSeparator("D:\\Team"), "D:\\Team\\");
    EXPECT_EQ(rules.withSeparator("D:\\Team\\"), "D:\\Team\\");
    EXPECT_EQ(rules.withoutSeparator("D:\\Team\\"), "D:\\Team");
    EXPECT_EQ(rules.withoutSeparator("C:\\"), "C:\\"); // a drive's root stays a root
    EXPECT_EQ(rules.withoutSeparator("\\"), "\\");
    EXPECT_EQ(rules.folderOf("C:\\JOBS\\PLAN.XER"), "C:\\JOBS\\");
    EXPECT_EQ(rules.folderOf("C:/jobs/plan.xer"), "C:/jobs/"); // Windows takes / too
    EXPECT_EQ(rules.nameOf("C:\\JOBS\\Plan.xer"), "Plan.xer");
    EXPECT_EQ(rules.chosenPath("c:\\Jobs\\Plan\xe9.xer"), "C:\\JOBS\\PLAN\xe9.XER");
    EXPECT_EQ(rules.defaultXerFolder, "C:\\");
    for (const char* bad : {"D:\\a|b", "D:\\a?", "D:\\a*", "D:\\<a>", "D:\\a\"", "D:\\a:b", "D:\\a\tb"})
        EXPECT_FALSE(rules.acceptsFolderName(bad)) << bad;
    EXPECT_TRUE(rules.acceptsFolderName("D:\\Team settings\\"));
}

TEST(PathRules, PosixPaths) {
    const PathRules rules = PathRules::posix("/home/ann");
    EXPECT_EQ(rules.defaultXerFolder, "/home/ann/");
    EXPECT_EQ(PathRules::posix("").defaultXerFolder, "/");
    EXPECT_EQ(rules.withoutSeparator("/"), "/");
    EXPECT_EQ(rules.withoutSeparator("/srv/x/"), "/srv/x");
    EXPECT_EQ(rules.folderOf("/jobs/a\\b.xer"), "/jobs/"); // a backslash is a name character
    EXPECT_EQ(rules.folderOf("plan.xer"), "");
    EXPECT_EQ(rules.chosenPath("/Jobs/Plan.xer"), "/Jobs/Plan.xer"); // letter case names files
    EXPECT_TRUE(rules.acceptsFolderName("/srv/a|b?*:<>"));
    EXPECT_FALSE(rules.acceptsFolderName(std::string("/a\0b", 4)));
}

} // namespace
} // namespace zembrel
