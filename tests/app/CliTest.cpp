#include "app/cli/Cli.h"
#include "TempFolder.h"
#include "XerText.h"
#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zembrel {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
    PosixFileSystem fs;
    std::ostringstream out, err;
    const int status = runCli(args, out, err, fs, PathRules::posix({}));
    return {status, out.str(), err.str()};
}

TEST(Cli, SurveyPrintsTheReportAndRepairsTheFileOnDisk) {
    test::TempFolder dir;
    const auto damaged = dir.write(
        "Plan.xer", test::crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t\x1a", "%R\t2\x1a", "%E"}));
    const auto clean = dir.write("clean.xer", test::crlf({"ERMHDR", "%T\tTASK", "%E"}));
    const CliRun r = cli({"survey", damaged, clean});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "A total of 2 POBS records\r\nand 0 Risk Type records\r\nexist in this XER "
              "file.\r\n\r\nClick on the button below to create a new XER file without these "
              "unwanted entries.\n"
              "The above XER file does not contain any POBS or Risk Type records.\n");
    EXPECT_EQ(r.err,
              "Plovard: A total of 1 characters were corrupt and were replaced with a space.\n"
              "Plovard: A total of 2 characters were corrupt and were replaced with a space.\n");
    EXPECT_EQ(test::TempFolder::read(damaged),
              test::crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t ", "%R\t2 ", "%E"}));
}

TEST(Cli, AnyFileNotReportedMakesTheStatusOne) {
    test::TempFolder dir;
    const auto broken = dir.write("b.xer", test::crlf({"H", "%T\tRISKTYPE", "%F", "%R\t1"}));
    const auto fine = dir.write("f.xer", "");
    CliRun r = cli({"survey", fine, broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Plovard: ERROR: The file is broken and should not be used.\r\nRisk Type record "
              "corruption ruined the XER file.\n");
    r = cli({"survey", dir.file("missing.xer")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Plovard: ERROR! File not found.\n");
    EXPECT_EQ(r.out, "\n");
    r = cli({"survey", dir.path()}); // a folder is not a file
    EXPECT_EQ(r.err, "Plovard: ERROR! File not found.\n");
    r = cli({"survey", ""});
    EXPECT_EQ(r.err, "Plovard: File not specified.\n");
    EXPECT_EQ(r.status, 1);
}

TEST(Cli, AReportThatCannotBeWrittenEndsTheRunWithStatusOne) {
    test::TempFolder dir;
    const auto file = dir.write("p.xer", test::crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"}));
    struct Full final : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    PosixFileSystem fs;
    EXPECT_EQ(runCli({"purge", file}, out, err, fs, PathRules::posix({})), 1);
    EXPECT_EQ(err.str(), "zembrelpobs-cli: the report cannot be written to standard output\n");
    EXPECT_FALSE(fs.fileExists(dir.file("p-POBS.xer"))); // nothing more was done
}

TEST(Cli, AfterTheirEndMarkArgumentsAreFilesWhateverTheyLookLike) {
    const CliRun r = cli({"survey", "--", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Plovard: ERROR! File not found.\n");
}

TEST(Cli, UsageHelpAndVersion) {
    EXPECT_EQ(cli({"--version"}).out, "4.42.731\n");
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("survey [--] FILE"), std::string::npos);
    for (const auto& args : {std::vector<std::string>{},
                             {"survey"},
                             {"frobnicate", "x"},
                             {"survey", "--yes", "f"},
                             {"purge", "--no", "--yes", "f"},
                             {"purge", "--yes", "--yes", "f"},
                             {"purge", "--no"},
                             {"purge", "--frob", "f"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    }
}

} // namespace
} // namespace zembrel
