// The Win32 back ends against the real API (under Wine in CI). The test program doubles as the
// child that the program-start and command-line tests start: see main() below.
#include "TempFolder.h"
#include "Wine.h"
#include "XerText.h"
#include "fakes/FakeUi.h"
#include "info/SysInfo.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32ProgramStarter.h"
#include "platform/win32/Win32Registry.h"
#include "shell/SetUpFolders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace zembrel {
namespace {

std::string g_self; // this test program

// Waits for a child's file to appear whole (the child writes it, then renames it into place).
std::string awaitFile(const std::string& path) {
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return test::TempFolder::read(path);
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    Win32FileSystem fs;
};

// The failure number of an outcome, or 0 for a success.
template <typename T> int numberOf(const Outcome<T>& outcome) {
    return outcome ? 0 : outcome.failure().number;
}

TEST_F(Win32FileSystemTest, FailuresMapOntoTheCommonNumbers) {
    const auto file = dir.write("a.xer", "x");
    EXPECT_EQ(numberOf(fs.openRead(dir.file("none.xer"))), 53);
    EXPECT_EQ(numberOf(fs.openRead(dir.file("no\\such\\file"))), 76);
    EXPECT_EQ(numberOf(fs.openRead(dir.path())), 75);
    EXPECT_EQ(numberOf(fs.openRead("")), 52);
    EXPECT_EQ(numberOf(fs.createScratch(dir.file("missing\\"), std::nullopt)), 76);
    // A pipe is refused at once, never read.
    const std::string pipeName = "\\\\.\\pipe\\zembrel-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = ::CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0,
                                     0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(numberOf(fs.openRead(pipeName)), 75);
    ::CloseHandle(pipe);
    // A new name that cannot be made is found before any work.
    EXPECT_EQ(fs.canCreate(dir.file(std::string(300, 'n') + ".xer")).failure().number, 52);
    EXPECT_EQ(fs.canCreate(dir.path()).failure().number, 75);
    EXPECT_EQ(fs.canCreate(dir.file("no\\such\\file")).failure().number, 76);
    EXPECT_TRUE(fs.canCreate(dir.file("new.xer")).ok());
    EXPECT_EQ(numberOf(fs.folderEntries(dir.file("none"))), 76);
    // Another program holds the file without sharing it.
    HANDLE locked =
        ::CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(numberOf(fs.openRead(file)), 75);
    ::CloseHandle(locked);
    if (!test::underWine()) { // Wine lets root write a read-only file
        ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(numberOf(fs.openReadWrite(file)), 70);
        ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    const std::pair<DWORD, int> codes[] = {{ERROR_DISK_FULL, 61},     {ERROR_HANDLE_DISK_FULL, 61},
                                           {ERROR_ACCESS_DENIED, 70}, {ERROR_NOT_SAME_DEVICE, 74},
                                           {ERROR_INVALID_NAME, 52},  {ERROR_CRC, 57}};
    for (const auto& [code, number] : codes)
        EXPECT_EQ(failureFromWin32(code).number, number) << code;
}

TEST_F(Win32FileSystemTest, HiddenAndSystemFilesAndFoldersAreNoFiles) {
    const auto file = dir.write("a.xer", "x");
    EXPECT_TRUE(fs.fileExists(file));
    EXPECT_EQ(fs.entryKind(file), EntryKind::File);
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(fs.fileExists(file));
    EXPECT_EQ(fs.entryKind(file), EntryKind::Other);
    EXPECT_FALSE(fs.fileExists(dir.path()));
    EXPECT_EQ(fs.entryKind(dir.path()), EntryKind::Folder);
    EXPECT_EQ(fs.entryKind(dir.file("none")), EntryKind::None);
}

TEST_F(Win32FileSystemTest, OtherSpellingsOfANameAreTheSameFile) {
    const auto file = dir.write("Plan.xer", "x");
    std::string upper = file;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(fs.fileId(file).has_value());
    EXPECT_EQ(fs.fileId(upper), fs.fileId(file));
    EXPECT_EQ((*fs.openRead(upper))->id(), fs.fileId(file));
    EXPECT_NE(fs.fileId(dir.write("other.xer", "x")), fs.fileId(file));
}

TEST_F(Win32FileSystemTest, ScratchFilesAreReadBackAndKeptOrLeaveNothing) {
    dir.write("Temp.TXT", "an earlier intermediate");
    {
        auto scratch = fs.createScratch(dir.path() + "\\", std::nullopt);
        ASSERT_TRUE(scratch.ok());
        ASSERT_TRUE((*scratch)->write("ERMHDR\r\n", 8).ok());
        // Only what the caller agreed to replace is replaced.
        EXPECT_EQ(
            (*scratch)->keepAs(dir.file("Temp.TXT"), ScratchFile::Replace::No).failure().number,
            58);
        ASSERT_TRUE((*scratch)->keepAs(dir.file("Temp.TXT"), ScratchFile::Replace::Yes).ok());
        char buffer[16] = {};
        auto back = (*scratch)->readBack();
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(*(*back)->read(buffer, sizeof buffer), 8u);
        ASSERT_TRUE((*scratch)->write("more", 4).ok()); // written at its own end, still
    }
    EXPECT_EQ(test::TempFolder::read(dir.file("Temp.TXT")), "ERMHDR\r\nmore");
    {
        auto scratch = fs.createScratch(dir.path() + "\\", std::nullopt);
        ASSERT_TRUE((*scratch)->write("abc", 3).ok());
        std::filesystem::create_directory(dir.file("sub"));
        EXPECT_EQ((*scratch)->keepAs(dir.file("sub"), ScratchFile::Replace::Yes).failure().number,
                  75);
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Temp.TXT", "sub"}));
}

TEST_F(Win32FileSystemTest, OffsetsPastFourGibibytesInASparseFile) {
    const auto path = dir.file("huge.bin");
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    ::DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = (LONGLONG{1} << 32) + 10;
    ASSERT_TRUE(::SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::WriteFile(h, "tail", 4, &ignored, nullptr));
    ::CloseHandle(h);
    auto in = fs.openRead(path);
    ASSERT_TRUE(in.ok());
    EXPECT_EQ((*in)->size(), (std::uint64_t{1} << 32) + 14);
    ASSERT_TRUE((*in)->seek((std::uint64_t{1} << 32) + 10).ok());
    char buffer[8] = {};
    EXPECT_EQ(*(*in)->read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "tail");
}

TEST(Win32ProfileStoreTest, ReadsAndWritesByTheWindowsRules) {
    test::TempFolder dir;
    Win32ProfileStore store;
    const auto file =
        dir.write("Zembrel.INI", "[configure]\r\n  xer_location = \" C:\\Jobs\\ \" \r\n"
                                 "SOUND_ON=\r\nSOUND_ON=second\r\n");
    EXPECT_EQ(store.getString("CONFIGURE", "XER_LOCATION", "C:\\", 1000, file), " C:\\Jobs\\ ");
    EXPECT_EQ(store.getString("CONFIGURE", "SOUND_ON", "TRUE", 1000, file), "");
    EXPECT_EQ(store.getString("CONFIGURE", "VIDEO_PLAYER", "none  ", 1000, file), "none");
    EXPECT_EQ(store.getString("OPEN", "TOP", "1785", 3, file), "17");
    ASSERT_TRUE(store.writeString("OPEN", "TOP", " 1785", file).ok());
    EXPECT_FALSE(store.writeString("OPEN", "LEFT", "a\r\nb", file).ok());
    EXPECT_EQ(store.getString("OPEN", "TOP", "", 1000, file), "1785");
    EXPECT_EQ(store.getString("OPEN", "LEFT", "default", 1000, file), "default");
}

// A registry value written by the test under a key of its own, read as the About window reads:
// the type and bytes of a value, one too long and one missing (GetKeyValueTest has the rules).
TEST(Win32RegistryTest, ValuesOfEveryKindReadBackAsTheRulesSay) {
    const std::string keyName =
        "Software\\ZembrelPOBS test " + std::to_string(::GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const auto set = [&](const char* name, DWORD type, const std::string& bytes) {
        ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
    };
    set("withNul", REG_SZ, std::string("C:\\tool.exe\0", 12));
    set("number", REG_DWORD, std::string("\x01\0\0\0", 4));
    set("long", REG_SZ, std::string(1500, 'x') + '\0');
    ::RegCloseKey(key);
    Win32Registry registry;
    const auto root = reinterpret_cast<Registry::Key>(HKEY_CURRENT_USER);
    const struct {
        const char* value;
        bool ok;
        std::string text;
    } cases[] = {{"withNul", true, "C:\\tool.exe"},
                 {"number", true, "1"},
                 {"long", false, ""},
                 {"missing", false, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string text;
        const auto read = GetKeyValue(registry, root, keyName, c.value, text);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(*read, c.ok);
        EXPECT_EQ(text, c.text);
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, keyName.c_str());
}

TEST(Win32ProgramStarterTest, TheChildGetsItsArgumentsAsQuotedAndItsShowState) {
    test::TempFolder dir;
    const std::string out = dir.file("args.txt");
    const std::string line =
        "\"" + g_self + "\" --record \"" + out + "\" \"a b\" plain \"say \\\"hi\\\"\"";
    Win32ProgramStarter programs;
    ASSERT_TRUE(programs.start(line, ProgramStarter::Show::MinimizedActive).ok());
    EXPECT_EQ(awaitFile(out), "a b|plain|say \"hi\"|show 2");
    EXPECT_FALSE(
        programs.start("\"" + dir.file("none.exe") + "\" x", ProgramStarter::Show::Normal).ok());
}

TEST(Win32EnvironmentTest, FoldersFromTheRealCallsAndTheIniOption) {
    test::TempFolder dir;
    std::filesystem::create_directory(dir.file("team settings"));
    const std::string out = dir.file("folders.txt");
    const std::string line =
        "\"" + g_self + "\" --folders \"" + out + "\" /ini=\"" + dir.file("team settings") + "\"";
    Win32ProgramStarter programs;
    ASSERT_TRUE(programs.start(line, ProgramStarter::Show::Normal).ok());
    const std::string folders = awaitFile(out);
    EXPECT_EQ(folders, dir.file("team settings") + "\\|" +
                           std::filesystem::path(g_self).parent_path().string() + "\\");
    Win32Environment env;
    auto local = env.localAppDataFolder();
    ASSERT_TRUE(local.ok());
    EXPECT_TRUE(std::filesystem::is_directory(*local));
}

// The child's parts: record the arguments it got, or the folders the set-up decides.
int childMain(int argc, char** argv) {
    const std::string out = argv[2];
    std::string text;
    if (std::string(argv[1]) == "--record") {
        for (int i = 3; i < argc; ++i)
            text += std::string(argv[i]) + "|";
        STARTUPINFOA startup{};
        ::GetStartupInfoA(&startup);
        text += "show " + std::to_string(startup.wShowWindow);
    } else {
        Win32Environment env;
        Win32FileSystem files;
        test::FakeBoxes boxes;
        AppState state;
        SetUpFolders(state, env, files, boxes, PathRules::windows());
        text = state.DataFolder + "|" + state.ProgramFolder;
    }
    std::ofstream(out + ".part", std::ios::binary) << text;
    std::filesystem::rename(out + ".part", out);
    return 0;
}

} // namespace
} // namespace zembrel

int main(int argc, char** argv) {
    if (argc > 2 && (std::string(argv[1]) == "--record" || std::string(argv[1]) == "--folders"))
        return zembrel::childMain(argc, argv);
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    zembrel::g_self = self;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
