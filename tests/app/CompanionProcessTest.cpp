// The companion as a program: the bytes it writes to standard output and error are the same on
// every platform (no line-end translation on Windows), and so is its exit status.
#include "TempFolder.h"
#include "XerText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

namespace zembrel {
namespace {

struct CompanionRun {
    int status;
    std::string out;
};

// Runs the companion, which lies in the folder the tests run in, with arguments; standard
// error follows standard output after a bar.
CompanionRun companion(const std::string& arguments, const std::string& errFile) {
#ifdef _WIN32
    // cmd.exe drops the outer pair of quotes of a command that holds several.
    const std::string command =
        "\".\\" ZEMBREL_COMPANION " " + arguments + " 2>\"" + errFile + "\"\"";
    FILE* pipe = popen(command.c_str(), "rb");
#else
    const std::string command = "./" ZEMBREL_COMPANION " " + arguments + " 2>'" + errFile + "'";
    FILE* pipe = popen(command.c_str(), "r");
#endif
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
#ifndef _WIN32
    return {WEXITSTATUS(status), out + "|" + test::TempFolder::read(errFile)};
#else
    return {status, out + "|" + test::TempFolder::read(errFile)};
#endif
}

TEST(CompanionProcessTest, WritesTheSameBytesOnEveryPlatform) {
    test::TempFolder dir;
    const auto plan = dir.write("Plan.xer", test::crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1\x1a",
                                                        "%T\tRISKTYPE", "%F", "%R\t7", "%E"}));
    const CompanionRun run = companion("purge --yes \"" + plan + "\"", dir.file("err.txt"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "A total of 1 POBS records\r\nand 1 Risk Type records\r\nexist in this XER file."
              "\r\n\r\nClick on the button below to create a new XER file without these unwanted "
              "entries.\nNumber of POBS Records Removed: 1.\r\nNumber of Risk Types removed: 1."
              "\r\n\r\nA new import file has been created called\r\nPlan-POBS.xer\n"
              "|Plovard: A total of 1 characters were corrupt and were replaced with a space.\n");
    EXPECT_EQ(test::TempFolder::read(dir.file("Plan-POBS.xer")), test::crlf({"ERMHDR", "%E"}));
    EXPECT_EQ(companion("survey --yes x", dir.file("err.txt")).status, 2);
}

} // namespace
} // namespace zembrel
