#include "app/cli/Cli.h"
#include "TempFolder.h"
#include "Wine.h"
#include "XerText.h"
#include "app/cli/ProgressLine.h"
#include "platform/NativeBackEnd.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <sstream>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace zembrel {

namespace {

using test::crlf;
using test::TempFolder;

struct CliRun {
    int status;
    std::string out, err;
};

// Runs the companion in process; terminal: both outputs are terminals.
CliRun cli(const std::vector<std::string>& args, bool terminal = false) {
    native::NativeFileSystem fs;
    std::ostringstream out, err;
    const int status =
        runCli(args, {out, err, nullptr, terminal, terminal}, fs, native::pathRules({}));
    return {status, out.str(), err.str()};
}

using Json = nlohmann::json;
constexpr auto npos = std::string::npos;

class CliTest : public ::testing::Test {
protected:
    TempFolder dir;
};

TEST_F(CliTest, SurveyPrintsTheReportAndRepairsTheFileOnDisk) {
    const auto damaged =
        dir.write("Plan.xer", crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t\x1a", "%R\t2\x1a", "%E"}));
    const auto clean = dir.write("clean.xer", crlf({"ERMHDR", "%T\tTASK", "%E"}));
    const CliRun r = cli({"survey", damaged, clean});
    EXPECT_EQ(r.status, 0);
    // Several files: the reports, then a table of what became of each, numbers right-aligned.
    const std::string table = r.out.substr(r.out.find("\n\nFile") + 2);
    const auto endsWith = [&](const std::string& start, const std::string& end) {
        const auto line = table.find(start);
        ASSERT_NE(line, npos) << table;
        EXPECT_EQ(table.substr(line, table.find('\n', line) - line).ends_with(end), true) << table;
    };
    endsWith("File ", "POBS records  Risk type records  Size before  Size after  Outcome");
    endsWith(damaged, "           2                  0           38           -  reported");
    endsWith(clean, "           0                  0           21           -  nothing found");
    // Each report is the window's label (the texts are NoticeTextTest's), on a line of its own.
    EXPECT_TRUE(r.out.starts_with("A total of 2 POBS records\r\n")) << r.out;
    EXPECT_NE(r.out.find("entries.\nThe above XER file does not contain any POBS or Risk Type "
                         "records.\n\nFile"),
              npos);
    // In a batch each message names its file.
    EXPECT_EQ(r.err.find("Plovard: " + damaged + ": A total of 1 characters were corrupt"), 0u);
    EXPECT_NE(r.err.find("space.\nPlovard: " + damaged + ": A total of 2 characters"), npos);
    EXPECT_EQ(TempFolder::read(damaged),
              crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t ", "%R\t2 ", "%E"}));
}

// A purge prints the survey's report, then its own; an existing copy is replaced only with
// --yes, and a copy not written makes the status 1.
TEST_F(CliTest, PurgeWritesTheCopyBesideTheFile) {
    const auto file = dir.write("p.xer", crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"}));
    const CliRun r = cli({"purge", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("A total of 1 POBS records\r\n")) << r.out;
    EXPECT_TRUE(r.out.ends_with("entries.\nNumber of POBS Records Removed: 1.\r\nNumber of Risk "
                                "Types removed: 0.\r\n\r\nA new import file has been created "
                                "called\r\np-POBS.xer\n"))
        << r.out;
    EXPECT_EQ(TempFolder::read(dir.file("p-POBS.xer")), crlf({"ERMHDR", "%E"}));
    dir.write("p-POBS.xer", "mine");
    const CliRun no = cli({"purge", "--no", file});
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.err.find("Plovard: A POBS-free file " + dir.file("p-POBS.xer")), 0u);
    EXPECT_EQ(TempFolder::read(dir.file("p-POBS.xer")), "mine");
    EXPECT_EQ(cli({"purge", "--yes", "--", file}).status, 0);
    EXPECT_EQ(TempFolder::read(dir.file("p-POBS.xer")), crlf({"ERMHDR", "%E"}));
}

// What fills a file, the biggest table first; a SUB byte is reported and stays where it is.
TEST_F(CliTest, TablesListWhatFillsEachFileAndOnlyRead) {
    std::filesystem::create_directories(dir.file("jobs"));
    const std::string xer =
        crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1", "%R\t2\x1a", "%T\tTASK\xe9", "%R\tx", "%E"});
    const auto file = dir.write("jobs/Plan.xer", xer);
    const CliRun r = cli({"tables", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, file +
                         ": 54 bytes\n"
                         "Table             Records  Bytes  Share\n"
                         "POBS                    2     26  48.1%\n"
                         "TASK\xe9" +
                         std::string(19, ' ') +
                         "1     16  29.6%\n"
                         "(outside tables)        -     12  22.2%\n"
                         "1 SUB byte (a damaged character) at offset 31: read as a space; the "
                         "file is unchanged.\n");
    EXPECT_EQ(TempFolder::read(file), xer);

    const CliRun j = cli({"tables", dir.file("jobs"), "--json", "--recursive", dir.file("no.xer")});
    EXPECT_EQ(j.status, 1);
    EXPECT_EQ(j.err, "zembrelpobs-cli: " + dir.file("no.xer") + ": ERROR #53, File not found\n");
    Json json = Json::parse(j.out);
    const Json files = json["files"];
    json.erase("files");
    EXPECT_EQ(json,
              Json::parse(R"({"version": 1, "command": "tables", "skipped": [], "status": 1})"));
    ASSERT_EQ(files.size(), 2u);
    // Every value, the name's bytes as they stand.
    Json plan = Json::parse(R"({"outcome": "reported", "size": 54, "tables": [{"name": "POBS",
        "occurrences": 1, "records": 2, "bytes": 26, "share": 48.1}, {"name": "TASK\ufffd",
        "nameHex": "5441534be9", "occurrences": 1, "records": 1, "bytes": 16, "share": 29.6}],
        "otherTables": null, "outsideTables": {"bytes": 12, "share": 22.2}, "subBytes": {"count":
        1, "first": 31}, "endsInTable": false, "failure": null})");
    plan["path"] = file;
    EXPECT_EQ(files[0], plan);
    const auto& missing = files[1];
    EXPECT_EQ(missing["outcome"], "failed");
    EXPECT_EQ(missing["failure"]["number"], 53);
    EXPECT_TRUE(missing["size"].is_null() && missing["tables"].empty());
}

// The JSON document read back by a JSON parser: values, not texts; names exact.
TEST_F(CliTest, FoldersRecursivelyAndResultsForPrograms) {
    std::filesystem::create_directories(dir.file("jobs/old"));
    dir.write("jobs/a.XER", crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%R\t2", "%E"}));
    dir.write("jobs/old/b\xe9.xer", crlf({"ERMHDR", "%R\t\x1a", "%E"}));
    dir.write("jobs/notes.txt", "not an export");
    const CliRun r = cli({"purge", "--yes", "--recursive", "--json", dir.file("jobs")});
    EXPECT_EQ(r.status, 0);
    const auto json = Json::parse(r.out); // nothing but the JSON on standard output
    EXPECT_EQ(json["command"], "purge");
    EXPECT_EQ(json["status"], 0);
    EXPECT_TRUE(json["skipped"].empty());
    ASSERT_EQ(json["files"].size(), 2u);
    Json a = json["files"][0];
    EXPECT_EQ(a["path"], dir.file("jobs/a.XER"));
    EXPECT_EQ(a["newFile"], dir.file("jobs/a-POBS.XER"));
    // The survey's report, then the purge's, as a report on standard output would have them.
    EXPECT_NE(a["report"].get<std::string>().find("entries.\nNumber of POBS Records Removed: 2."),
              npos);
    for (const char* key : {"path", "newFile", "report"})
        a.erase(key);
    EXPECT_EQ(a, Json::parse(R"({"outcome": "created", "survey": {"outcome": "reported",
        "pobsRecords": 2, "riskTypeRecords": 0, "repaired": 0, "repairs": [], "failure": null,
        "brokenIn": null}, "purge": {"outcome": "created", "pobsRemoved": 2, "riskTypesRemoved":
        0, "riskTypesKept": 0, "riskTypesReferenced": 0, "failure": null}, "sizeBefore": 33,
        "sizeAfter": 12, "messages": []})"));
    const auto& b = json["files"][1];
    EXPECT_EQ(b["outcome"], "nothing found");
    EXPECT_TRUE(b["purge"].is_null() && b["newFile"].is_null() && b["sizeAfter"].is_null());
    EXPECT_EQ(b["survey"]["repairs"], Json::array({11})); // the byte's offset
    EXPECT_EQ(b["messages"][0]["kind"], "repaired");
    EXPECT_EQ(b["messages"][0]["text"],
              "A total of 1 characters were corrupt and were replaced with a space.");
    // A name that is not UTF-8 reads back exactly from its bytes (Wine's code page spells it
    // in UTF-8).
    if (!test::underWine()) {
        const std::string hex = b["pathHex"]; // two digits a byte, "/old/b\xe9.xer" at the end
        EXPECT_EQ(hex.size(), 2 * dir.file("jobs/old/b\xe9.xer").size());
        EXPECT_TRUE(hex.ends_with("2f6f6c642f62e92e786572")) << hex;
        EXPECT_EQ(b["path"], dir.file("jobs/old/b\xef\xbf\xbd.xer")); // readable, not exact
    }
    EXPECT_EQ(TempFolder::read(dir.file("jobs/a-POBS.XER")), crlf({"ERMHDR", "%E"}));
}

TEST_F(CliTest, AnyFileNotReportedMakesTheStatusOne) {
    const auto broken = dir.write("b.xer", crlf({"H", "%T\tRISKTYPE", "%F", "%R\t1"}));
    const auto fine = dir.write("f.xer", "");
#ifndef _WIN32
    const auto fifo = dir.file("fifo.xer");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
#endif
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"survey", fine, broken},
         broken + ": ERROR: The file is broken and should not be used.\r\nRisk Type record "
                  "corruption ruined the XER file."},
        {{"survey", dir.file("missing.xer")}, "ERROR! File not found."},
        {{"survey", dir.path()}, "ERROR! File not found."}, // a folder is not a file
        {{"survey", ""}, "File not specified."},
        {{"survey", "--", "--yes"}, "ERROR! File not found."}, // after "--" only files
#ifndef _WIN32
        {{"survey", fifo}, "ERROR! File not found."}, // not waited on: only files are read
        {{"purge", fifo, "--yes"}, "ERROR! File not found."},
#endif
    };
    for (const auto& [args, message] : cases) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 1) << message;
        EXPECT_EQ(r.err, "Plovard: " + message + "\n");
    }
}

#ifndef _WIN32
// A walk follows no link, leaves out the copies of earlier purges, and names everything it does
// not take; options may follow the names.
TEST_F(CliTest, AWalkFollowsNoLinkAndNamesWhatItLeavesOut) {
    namespace fs = std::filesystem;
    const std::string pobs = crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"});
    fs::create_directories(dir.file("jobs/sub"));
    fs::create_directories(dir.file("elsewhere"));
    const auto outside = dir.write("elsewhere/secret.xer", pobs);
    dir.write("jobs/h.xer", pobs);
    dir.write("jobs/sub/H-POBS.XER", pobs); // no H.XER beside it: a file like any other
    fs::create_symlink(outside, dir.file("jobs/planted.xer"));
    fs::create_symlink(dir.file("elsewhere"), dir.file("jobs/more"));
    ASSERT_EQ(::mkfifo(dir.file("jobs/pipe.xer").c_str(), 0600), 0);
    const auto skipped = [&](const std::string& name, const std::string& why) {
        return "zembrelpobs-cli: skipped " + dir.file("jobs/" + name) + ": " + why + "\n";
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const CliRun r = cli({"purge", dir.file("jobs"), "--recursive", "--yes", "--json"});
        EXPECT_EQ(r.status, 1); // the FIFO could not be taken
        for (const auto& line :
             {skipped("more", "a symbolic link, not followed"),
              skipped("pipe.xer", "not a regular file"),
              skipped("planted.xer", "a symbolic link, not followed"),
              skipped("h-POBS.xer", "the copy a purge made of h.xer"),
              skipped("sub/H-POBS-POBS.XER", "the copy a purge made of H-POBS.XER")}) {
            // The copies are there from the second round on.
            EXPECT_EQ(r.err.find(line) != npos, round == 1 || line.find("copy") == npos) << line;
        }
        const auto skips = Json::parse(r.out)["skipped"];
        ASSERT_EQ(skips.size(), round ? 5u : 3u);
        EXPECT_EQ(skips[round ? 2 : 1], // in name order
                  Json({{"path", dir.file("jobs/pipe.xer")},
                        {"reason", "not a regular file"},
                        {"failed", true}}));
        EXPECT_EQ(skips[round ? 3 : 2]["failed"], false); // a link is left out on purpose
    }
    EXPECT_FALSE(fs::exists(dir.file("jobs/h-POBS-POBS.xer")));
    EXPECT_TRUE(fs::exists(dir.file("jobs/sub/H-POBS-POBS.XER")));
    EXPECT_FALSE(fs::exists(dir.file("elsewhere/secret-POBS.xer")));
    EXPECT_FALSE(fs::exists(dir.file("jobs/planted-POBS.xer")));
    // A survey takes the copies too; a link named on the command line is the user's choice.
    EXPECT_NE(cli({"survey", "--recursive", dir.file("jobs")}).out.find(dir.file("jobs/h-POBS")),
              npos);
    EXPECT_EQ(cli({"survey", dir.file("jobs/planted.xer")}).status, 0);
}

// On a terminal the control bytes of names are escaped; into a file or a pipe they go as they
// are.
TEST_F(CliTest, NamesReachATerminalEscaped) {
    const std::string name = "x\033]0;owned\007.xer";
    const auto file = dir.write(name, crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"}));
    dir.write("x\033]0;owned\007-POBS.xer", "mine");
    const CliRun shown = cli({"purge", "--no", file}, true);
    const std::string safe = dir.file("x\\033]0;owned\\a-POBS.xer");
    EXPECT_EQ(shown.err, "Plovard: A POBS-free file " + safe +
                             "\r\nalready exists.  Is it OK to overwrite?\n");
    EXPECT_NE(shown.out.find("File " + safe + " already exists."), npos);
    EXPECT_EQ(shown.out.find('\033'), npos);
    const CliRun piped = cli({"purge", "--no", file});
    EXPECT_NE(piped.out.find("File " + dir.file("x\033]0;owned\007-POBS.xer") + " already"), npos);
}
#endif

TEST(Cli, UsageHelpAndVersion) {
    EXPECT_EQ(cli({"--version"}).out, "4.42.731\n");
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("survey [--recursive] [--json] [--] FILE"), npos);
    EXPECT_NE(help.out.find("tables [--recursive] [--json] [--] FILE"), npos);
    // clang-format off
    for (const auto& args : {std::vector<std::string>{}, {"survey"}, {"frobnicate", "x"},
             {"survey", "--yes", "f"}, {"purge", "--no", "--yes", "f"}, {"purge", "--yes", "--yes", "f"},
             {"purge", "--no"}, {"purge", "--frob", "f"}, {"survey", "--json", "--json", "f"},
             {"tables"}, {"tables", "--yes", "f"}}) {
        // clang-format on
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Usage:"), npos);
    }
}

// The companion as a program, which lies in the folder the tests run in: the bytes it writes to
// standard output and error are the same on every platform (no line-end translation on
// Windows), and so is its exit status.
CliRun companion(const std::string& arguments, const std::string& errFile) {
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
    int status = pipe ? pclose(pipe) : -1;
#ifndef _WIN32
    status = WEXITSTATUS(status);
#endif
    return {status, out, test::TempFolder::read(errFile)};
}

// The report's bytes themselves are checked in process above; here they only must not change.
TEST(CompanionProcessTest, WritesTheSameBytesOnEveryPlatform) {
    test::TempFolder dir;
    const std::string xer =
        test::crlf({"ERMHDR", "%T\tPOBS", "%F", "%R\t1\x1a", "%T\tRISKTYPE", "%F", "%R\t7", "%E"});
    const CliRun inProcess = cli({"purge", dir.write("Plan.xer", xer)});
    std::filesystem::remove(dir.file("Plan-POBS.xer"));
    const auto plan = dir.write("Plan.xer", xer); // as it was before the survey repaired it
    const CliRun run = companion("purge --yes \"" + plan + "\"", dir.file("err.txt"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, inProcess.out);
    EXPECT_EQ(run.err, inProcess.err);
    EXPECT_EQ(companion("survey --yes x", dir.file("err.txt")).status, 2);
}

using namespace std::chrono_literals;

TEST(ProgressLineTest, AfterASecondOneRewrittenLineThatIsRubbedOutAtTheEnd) {
    std::ostringstream terminal;
    auto now = std::chrono::steady_clock::time_point{};
    ProgressLine line(&terminal, [&] { return now; });
    line.begin("Surveying /srv/Plan.xer");
    line.reportProgress(10, 100);
    now += 999ms;
    line.reportProgress(20, 100);
    EXPECT_EQ(terminal.str(), ""); // quick work shows nothing
    now += 1ms;
    line.reportProgress(50, 200);
    line.reportProgress(51, 200); // still 25 %: not written again
    line.reportProgress(900, 200);
    const std::string first = "Surveying /srv/Plan.xer 25 %";
    EXPECT_EQ(terminal.str(), "\r" + first + "\rSurveying /srv/Plan.xer 100 %");
    terminal.str("");
    line.begin("Purging /srv/P.xer"); // the next work starts on a clean line
    now += 2s;
    line.reportProgress(3, 4);
    line.clear();
    line.clear(); // once rubbed out, nothing more to rub out
    const std::string third = "Purging /srv/P.xer 75 %";
    EXPECT_EQ(terminal.str(), "\r" + std::string(first.size() + 1, ' ') + "\r\r" + third + "\r" +
                                  std::string(third.size(), ' ') + "\r");
}

} // namespace
} // namespace zembrel
