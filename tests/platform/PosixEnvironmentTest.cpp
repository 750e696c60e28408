#include "platform/posix/PosixEnvironment.h"
#include "TempFolder.h"
#include "fakes/FakeUi.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/win32/CommandLineText.h"
#include "shell/SetUpFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace zembrel {
namespace {

using Args = std::vector<std::string>;

// Sets an environment variable (or removes it) for one test and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedVariable() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const char* value) { value ? ::setenv(m_name, value, 1) : ::unsetenv(m_name); }
    const char* m_name;
    std::optional<std::string> m_old;
};

// The shell took the quotes away; the option's folder gets them back, as typed on Windows.
TEST(PosixEnvironmentTest, CommandLinePutsBackTheQuotesTheShellTookAway) {
    const std::pair<Args, std::string> cases[] = {
        {{}, ""},
        {{"/INI=/home/me/team settings"}, "/INI=\"/home/me/team settings\""},
        {{"-v", "/ini=/data"}, "-v /ini=\"/data\""},
        {{"/INI=\"/data\""}, "/INI=\"/data\""},
        {{"/INI="}, "/INI=\"\""},
        {{"a b", "c", "/INIX=d e"}, "\"a b\" c \"/INIX=d e\""},
    };
    for (const auto& [args, line] : cases)
        EXPECT_EQ(commandLineFromArguments(args), line);
}

TEST(Win32CommandLineTest, ProgramNameAndTheBlanksAfterItAreLeftOut) {
    const std::pair<std::string, std::string> cases[] = {
        {R"("C:\Program Files\Z\ZembrelPOBS.exe"  /INI="D:\T s")", R"(/INI="D:\T s")"},
        {"ZembrelPOBS.exe\t/ini=\"x\" ", "/ini=\"x\" "},
        {"ZembrelPOBS.exe", ""},
        {R"("C:\no close)", ""},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(argumentsOfCommandLine(line), arguments) << line;
}

TEST(PosixEnvironmentTest, OptionTypedInTheShellNamesTheDataFolder) {
    test::TempFolder dir;
    const std::string folder = dir.file("team settings");
    std::filesystem::create_directory(folder);
    const std::string option = "/INI=" + folder;
    const char* argv[] = {"ZembrelPOBS", option.c_str()};
    PosixEnvironment env(2, argv);
    PosixFileSystem files;
    test::FakeBoxes boxes;
    AppState state;
    SetUpFolders(state, env, files, boxes, PathRules::posix(env.homeFolder()));
    EXPECT_EQ(state.DataFolder, folder + "/");
    EXPECT_EQ(state.SuiteSettingsFile, folder + "/Zembrel.INI");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(PosixEnvironmentTest, ExecutableFolderHoldsThisProgram) {
    const char* argv[] = {"x"};
    const std::string folder = PosixEnvironment(1, argv).executableFolder();
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "/zembrel_platform_tests"));
}

// XDG_CONFIG_HOME when it is an absolute path, else ~/.config, made for its owner alone when
// a fresh account has none; nothing without a home.
TEST(PosixEnvironmentTest, LocalAppDataIsXdgConfigHomeElseDotConfig) {
    const char* argv[] = {"x"};
    PosixEnvironment env(1, argv);
    test::TempFolder dir;
    ScopedVariable home("HOME", (dir.path() + "/").c_str());
    const std::string cfg = dir.file("cfg"), dotConfig = dir.file(".config");
    const std::pair<std::string, std::string> cases[] = {
        {cfg + "/", cfg}, {"", dotConfig}, {"relative/cfg", dotConfig}, {"unset", dotConfig}};
    for (const auto& [config, folder] : cases) {
        ScopedVariable variable("XDG_CONFIG_HOME", config == "unset" ? nullptr : config.c_str());
        EXPECT_EQ(env.localAppDataFolder().value(), folder) << config;
        EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all)
            << config;
    }
    ScopedVariable deep("XDG_CONFIG_HOME", dir.file("no/cfg").c_str()); // no parent: not made
    EXPECT_EQ(env.localAppDataFolder().value(), dir.file("no/cfg"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
    EXPECT_EQ(env.homeFolder(), dir.path());
    ScopedVariable noConfig("XDG_CONFIG_HOME", nullptr), noHome("HOME", nullptr);
    EXPECT_FALSE(env.localAppDataFolder().ok());
    EXPECT_EQ(env.homeFolder(), "");
}

} // namespace
} // namespace zembrel
