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

// Sets an environment variable (or removes it) for one test and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(PosixEnvironmentTest, CommandLinePutsBackTheQuotesTheShellTookAway) {
    using Args = std::vector<std::string>;
    EXPECT_EQ(commandLineFromArguments({}), "");
    EXPECT_EQ(commandLineFromArguments(Args{"/INI=/home/me/team settings"}),
              "/INI=\"/home/me/team settings\"");
    EXPECT_EQ(commandLineFromArguments(Args{"-v", "/ini=/data"}), "-v /ini=\"/data\"");
    EXPECT_EQ(commandLineFromArguments(Args{"/INI=\"/data\""}), "/INI=\"/data\"");
    EXPECT_EQ(commandLineFromArguments(Args{"/INI="}), "/INI=\"\"");
    EXPECT_EQ(commandLineFromArguments(Args{"a b", "c", "/INIX=d e"}), "\"a b\" c \"/INIX=d e\"");
}

TEST(Win32CommandLineTest, ProgramNameAndTheBlanksAfterItAreLeftOut) {
    EXPECT_EQ(argumentsOfCommandLine(R"("C:\Program Files\Z\ZembrelPOBS.exe"  /INI="D:\T s")"),
              R"(/INI="D:\T s")");
    EXPECT_EQ(argumentsOfCommandLine("ZembrelPOBS.exe\t/ini=\"x\" "), "/ini=\"x\" ");
    EXPECT_EQ(argumentsOfCommandLine("ZembrelPOBS.exe"), "");
    EXPECT_EQ(argumentsOfCommandLine(R"("C:\no close)"), "");
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
    PosixEnvironment env(1, argv);
    const std::string folder = env.executableFolder();
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "/zembrel_platform_tests"));
}

TEST(PosixEnvironmentTest, LocalAppDataIsXdgConfigHomeElseDotConfig) {
    const char* argv[] = {"x"};
    PosixEnvironment env(1, argv);
    ScopedVariable home("HOME", "/home/ann/");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/cfg/");
        EXPECT_EQ(env.localAppDataFolder().value(), "/cfg");
    }
    for (const char* unusable : {"", "relative/cfg"}) {
        ScopedVariable config("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(env.localAppDataFolder().value(), "/home/ann/.config") << unusable;
    }
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(env.localAppDataFolder().value(), "/home/ann/.config");
    EXPECT_EQ(env.homeFolder(), "/home/ann");
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_FALSE(env.localAppDataFolder().ok());
    EXPECT_EQ(env.homeFolder(), "");
}

} // namespace
} // namespace zembrel
