#include "platform/posix/PosixProgramStarter.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace zembrel {
namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(PlayerArgumentsTest, PlayersThatDoNotKnowTheWindowsSwitchesGetTheirOwn) {
    struct Case {
        const char* program;
        Words arguments;
        Words expected;
    };
    const Case cases[] = {
        {"/usr/bin/vlc", {"/play", "/close", "/v.avi"}, {"--play-and-exit", "/v.avi"}},
        {"cvlc", {"/play", "/close", "/v.avi"}, {"--play-and-exit", "/v.avi"}},
        {"/usr/bin/vlc", {"/play", "/v.avi"}, {"/v.avi"}}, // plays, stays open
        {"/usr/bin/mpv", {"/play", "/close", "/v.avi"}, {"/v.avi"}},
        // Only the leading switches: a later "/close" is a file.
        {"/usr/bin/mpv", {"/v.avi", "/close"}, {"/v.avi", "/close"}},
        {"/opt/vlc/bin/myplayer", {"/play", "/close", "/v.avi"}, {"/play", "/close", "/v.avi"}},
        {"/usr/bin/mpv.sh", {"/play", "/close"}, {"/play", "/close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(playerArguments(c.program, c.arguments), c.expected);
    }
}

void writeFile(const std::string& path, const std::string& content, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, perms);
}

class PosixProgramStarterTest : public ::testing::Test {
protected:
    // What the recorder in folder received, once it has run (nothing after ten seconds).
    static Words received(const std::string& folder) {
        for (int wait = 0; wait < 1000 && !fs::exists(folder + "/args"); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const std::string text = test::TempFolder::read(folder + "/args");
        Words words;
        for (std::size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
             start = end + 1)
            words.push_back(text.substr(start, end - start));
        return words;
    }

    test::TempFolder temp;
    PosixProgramStarter starter;
};

TEST_F(PosixProgramStarterTest, TheProgramGetsTheWordsOfTheLineAndNoShellSeesThem) {
    const std::string folder = temp.path() + "/it's a pl\xc3\xa4yer $(touch x)";
    fs::create_directories(folder);
    // Writes its arguments, each ended by a NUL, into a file beside it.
    const std::string recorder = folder + "/rec order.sh";
    writeFile(recorder,
              "#!/bin/sh\nd=$(dirname \"$0\")\n"
              "printf '%s\\0' \"$@\" > \"$d/args.tmp\" && mv \"$d/args.tmp\" \"$d/args\"\n",
              fs::perms::owner_all);
    const std::string video = temp.path() + "/my videos/Zembrel POBS;rm -f *.avi";
    // A quote inside an argument is written \" , as Windows writes it.
    const std::string line = "\"" + recorder + "\" /play /close \"" + video +
                             "\" \"say \\\"hi\\\" \" back\\slash\\ '$HOME' `id` * >out";
    ASSERT_TRUE(starter.start(line, ProgramStarter::Show::MinimizedActive).ok());
    EXPECT_EQ(received(folder), (Words{"/play", "/close", video, "say \"hi\" ", "back\\slash\\",
                                       "'$HOME'", "`id`", "*", ">out"}));
    EXPECT_FALSE(fs::exists(folder + "/x"));
    EXPECT_FALSE(fs::exists(folder + "/out"));
}

TEST_F(PosixProgramStarterTest, AProgramThatCannotStartIsAFailureWithItsReason) {
    const std::string script = temp.file("script"); // executable, but no program
    writeFile(script, "touch \"$(dirname \"$0\")/ran\"\n", fs::perms::owner_all);
    const std::string plain = temp.file("plain");
    writeFile(plain, "#!/bin/sh\n", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(temp.file("a folder"));
    // A quote in the player's folder cannot be carried by the line: another name, no start.
    fs::create_directories(temp.file("a\"b"));
    writeFile(temp.file("a\"b/player"), "#!/bin/sh\ntouch \"" + temp.file("ran") + "\"\n",
              fs::perms::owner_all);
    struct Case {
        std::string line;
        int failure;
    };
    const Case cases[] = {
        {"\"" + temp.file("missing") + "\" /play", failure::FileNotFound},
        {"\"" + temp.file("no folder/player") + "\"", failure::PathNotFound},
        {"\"" + plain + "\" /play", failure::PermissionDenied},
        {"\"" + temp.file("a folder") + "\" /play", failure::PathFileAccessError},
        {"\"" + script + "\" /play", failure::InvalidCall},
        {"\"" + temp.file("a\"b/player") + "\" /play", failure::PathNotFound},
        {"zembrel-no-such-program-on-the-path", failure::FileNotFound},
        {"   ", failure::FileNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Status started = starter.start(c.line, ProgramStarter::Show::MinimizedActive);
        ASSERT_FALSE(started.ok());
        EXPECT_EQ(started.failure().number, c.failure);
        EXPECT_EQ(started.failure().description, failureDescription(c.failure));
    }
    EXPECT_FALSE(fs::exists(temp.file("ran"))); // neither a shell nor the quoted player ran
}

} // namespace
} // namespace zembrel
