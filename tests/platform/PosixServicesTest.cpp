#include "TempFolder.h"
#include "platform/CommandLine.h"
#include "platform/posix/PosixEnvironment.h"
#include "platform/posix/PosixProfileStore.h"
#include "platform/posix/PosixProgramStarter.h"
#include "platform/posix/PosixRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zembrel {
namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

// Sets an environment variable (or removes it) until the end of the scope.
struct ScopedVariable {
    ScopedVariable(const char* variable, const char* value) : name(variable) {
        if (const char* was = std::getenv(name))
            old = was;
        set(value);
    }
    ~ScopedVariable() { set(old ? old->c_str() : nullptr); }
    void set(const char* value) const { value ? ::setenv(name, value, 1) : ::unsetenv(name); }
    const char* name;
    std::optional<std::string> old;
};

// The shell took the quotes away; the option's folder gets them back, as typed on Windows. The
// other way, the program's name and the blanks after it are left out.
TEST(PosixEnvironmentTest, CommandLinePutsBackTheQuotesTheShellTookAway) {
    const std::pair<Words, std::string> cases[] = {
        {{}, ""},
        {{"/INI=/home/me/team settings"}, "/INI=\"/home/me/team settings\""},
        {{"-v", "/ini=/data"}, "-v /ini=\"/data\""},
        {{"/INI=\"/data\""}, "/INI=\"/data\""},
        {{"/INI="}, "/INI=\"\""},
        {{"a b", "c", "/INIX=d e"}, "\"a b\" c \"/INIX=d e\""},
    };
    for (const auto& [args, line] : cases)
        EXPECT_EQ(commandLineFromArguments(args), line);
    const std::pair<std::string, std::string> lines[] = {
        {R"("C:\Program Files\Z\ZembrelPOBS.exe"  /INI="D:\T s")", R"(/INI="D:\T s")"},
        {"ZembrelPOBS.exe\t/ini=\"x\" ", "/ini=\"x\" "},
        {"ZembrelPOBS.exe", ""},
        {R"("C:\no close)", ""},
    };
    for (const auto& [line, arguments] : lines)
        EXPECT_EQ(argumentsOfCommandLine(line), arguments) << line;
}

// Only <prefix>/bin/ beside an existing <prefix>/share/zembrelpobs/ is an installed program.
TEST(PosixEnvironmentTest, InstalledLayoutNeedsTheSharedFolderBesideBin) {
    test::TempFolder dir;
    for (const char* folder : {"usr/bin", "usr/share/zembrelpobs", "build/bin", "opt/share"})
        fs::create_directories(dir.file(folder));
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("usr/bin"), dir.file("usr/share/zembrelpobs") + "/"},
        {dir.file("usr/bin") + "/", dir.file("usr/share/zembrelpobs") + "/"},
        {dir.file("build/bin"), ""},
        {dir.file("opt"), ""},
        {"/", ""}};
    for (const auto& [executable, distribution] : cases) {
        const PathRules rules = withInstalledLayout(PathRules::posix("/home/ann"), executable);
        EXPECT_EQ(rules.distributionFolder, distribution) << executable;
        EXPECT_EQ(rules.developmentFolder, distribution.empty() ? "" : dir.file("usr/bin") + "/")
            << executable;
    }
}

// XDG_CONFIG_HOME when it is an absolute path, else ~/.config, made for its owner alone when
// a fresh account has none; nothing without a home. The executable's folder holds this program.
TEST(PosixEnvironmentTest, LocalAppDataIsXdgConfigHomeElseDotConfig) {
    const char* argv[] = {"x"};
    PosixEnvironment env(1, argv);
    const std::string self = env.executableFolder();
    EXPECT_TRUE(self.back() != '/' && fs::exists(self + "/zembrel_platform_tests")) << self;
    test::TempFolder dir;
    ScopedVariable home("HOME", (dir.path() + "/").c_str());
    const std::string cfg = dir.file("cfg"), dotConfig = dir.file(".config");
    const std::pair<std::string, std::string> cases[] = {
        {cfg + "/", cfg}, {"", dotConfig}, {"relative/cfg", dotConfig}, {"unset", dotConfig}};
    for (const auto& [config, folder] : cases) {
        ScopedVariable variable("XDG_CONFIG_HOME", config == "unset" ? nullptr : config.c_str());
        EXPECT_EQ(env.localAppDataFolder().value(), folder) << config;
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << config;
    }
    ScopedVariable deep("XDG_CONFIG_HOME", dir.file("no/cfg").c_str()); // no parent: not made
    EXPECT_EQ(env.localAppDataFolder().value(), dir.file("no/cfg"));
    EXPECT_FALSE(fs::exists(dir.file("no")));
    EXPECT_EQ(env.homeFolder(), dir.path());
    ScopedVariable noConfig("XDG_CONFIG_HOME", nullptr), noHome("HOME", nullptr);
    EXPECT_FALSE(env.localAppDataFolder().ok());
    EXPECT_EQ(env.homeFolder(), "");
}

void writeFile(const std::string& path, const std::string& content, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, perms);
}

const std::string kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Looks the tool up as the system-information button does, on a search path of its own.
std::string lookup(const std::string& path, const std::string& key = kToolKey,
                   const std::string& value = "PATH") {
    PosixRegistry registry(path);
    Registry::Key opened = 0;
    if (registry.open(Registry::kLocalMachine, key, 0x2003F, opened) != Registry::kSuccess)
        return "(none)";
    char buffer[1024];
    std::uint32_t size = sizeof buffer;
    std::uint32_t type = 0;
    if (registry.query(opened, value, type, buffer, size) != Registry::kSuccess)
        return "(no value)";
    EXPECT_EQ(type, Registry::kString);
    EXPECT_EQ(buffer[size - 1], '\0'); // stored with its NUL, as Windows stores strings
    return std::string(buffer, size - 1);
}

TEST(PosixRegistryTest, NamesTheFirstSystemInformationProgramOnThePath) {
    test::TempFolder dir;
    fs::create_directories(dir.file("a"));
    fs::create_directories(dir.file("b"));
    const auto program = [&](const std::string& path, bool executable) {
        writeFile(dir.file(path), "#!/bin/sh\n",
                  executable ? fs::perms::owner_all : fs::perms::owner_read);
    };
    const std::string path = "relative:" + dir.file("a") + ":" + dir.file("b");
    EXPECT_EQ(lookup(path), "(none)");
    program("a/gnome-system-monitor", true);
    program("b/hardinfo", false); // not executable
    EXPECT_EQ(lookup(path), dir.file("a/gnome-system-monitor"));
    program("b/kinfocenter", true); // earlier in the list of programs
    EXPECT_EQ(lookup(path), dir.file("b/kinfocenter"));
    // It answers that one lookup only.
    EXPECT_EQ(lookup(path, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"), "(none)");
    EXPECT_EQ(lookup(path, kToolKey, "OTHER"), "(no value)");
}

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

// The file side of the profile store; the rules on the text are IniTextTest's.
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

// Missing files read as the default; a write through a symbolic link replaces its target and
// keeps the link and the mode, and leaves nothing beside it.
TEST_F(PosixProfileStoreTest, FilesReadBackAsWrittenKeepingLinkAndModeWithoutLeftovers) {
    const auto f = dir.write("a.ini", kText);
    ::chmod(f.c_str(), 0640);
    const auto link = dir.file("link.ini");
    fs::create_symlink(f, link);
    ASSERT_TRUE(setLocation(link, " /jobs/"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::TempFolder::read(f), kText + "XER_LOCATION= /jobs/\r\n");
    EXPECT_EQ(store.getString("CONFIGURE", "XER_LOCATION", "", 9, f), "/jobs/");
    struct stat st {};
    ::stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    const auto g = dir.file("new.ini");
    EXPECT_EQ(store.getString("S", "K", " C:\\  ", 9, g), " C:\\");
    EXPECT_EQ(store.getString("S", "K", "folder", 9, dir.path()), "folder");
    ASSERT_TRUE(setLocation(g));
    EXPECT_EQ(test::TempFolder::read(g), "[CONFIGURE]\r\nXER_LOCATION=/x/\r\n");
    EXPECT_EQ(filesInFolder(), 3u);
}

// A refused, read-only or unreadable file, or a folder that takes no new file, is left as it was.
TEST_F(PosixProfileStoreTest, RefusedOrImpossibleWritesLeaveTheFolderAsItWas) {
    const auto f = dir.write("a.ini", kText);
    EXPECT_EQ(setLocation(f, "/a\nb/").failure().number, 5);
    EXPECT_FALSE(setLocation(dir.file("no/such/folder.ini")));
    ::chmod(f.c_str(), 0444);
    EXPECT_EQ(setLocation(f).failure().number, 70);
    EXPECT_EQ(test::TempFolder::read(f), kText);
    EXPECT_EQ(filesInFolder(), 1u);
    if (::geteuid() == 0)
        return; // permissions do not bind the superuser
    ::chmod(f.c_str(), 0200);
    EXPECT_FALSE(setLocation(f));
    ::chmod(f.c_str(), 0644);
    EXPECT_EQ(test::TempFolder::read(f), kText);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(setLocation(f));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::TempFolder::read(f), kText);
}

} // namespace
} // namespace zembrel
