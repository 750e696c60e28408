#include "info/SysInfo.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProgramStarter.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using namespace std::string_literals;
using Value = test::FakeRegistry::Value;

const std::string kTool = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolder = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct Lookup {
    const char* what;
    Value value;
    std::string in; // keyVal on the way in
    bool ok;
    std::string out;
};

TEST(GetKeyValueTest, TrimsAndConvertsByType) {
    const Lookup cases[] = {
        {"a string with its NUL counted", {1, "C:\\msinfo32.exe\0"s}, "", true, "C:\\msinfo32.exe"},
        {"a string without it", {1, "C:\\tool"}, "", true, "C:\\tool"},
        {"an empty string, NUL counted", {1, "\0"s}, "x", true, ""},
        {"a number 1, 0, 0, 0: &h001", {4, "\x01\0\0\0"s}, "", true, "1"},
        {"a number 0x2710", {4, "\x10\x27\0\0"s}, "", true, "10000"},
        {"a number after what came in", {4, "\x0b\0\0\0"s}, "A", true, "40971"}, // &hA00B
        {"another type leaves the text", {3, "\x01\x02"s}, "kept", true, "kept"},
        {"longer than the buffer", {1, std::string(1025, 'x')}, "in", false, ""},
        {"exactly the buffer", {1, std::string(1024, 'y')}, "", true, std::string(1024, 'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeRegistry registry;
        registry.keys[kTool]["PATH"] = c.value;
        std::string keyVal = c.in;
        const auto result = GetKeyValue(registry, Registry::kLocalMachine, kTool, "PATH", keyVal);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(*result, c.ok);
        EXPECT_EQ(keyVal, c.out);
        EXPECT_EQ(registry.calls.at(0), "open " + kTool + " 131135"); // 2003F: more than reading
        EXPECT_EQ(registry.closed, std::vector<Registry::Key>{100});
    }
}

TEST(GetKeyValueTest, AKeyThatCannotBeOpenedOrAnEmptyValue) {
    test::FakeRegistry registry;
    std::string keyVal = "in";
    EXPECT_FALSE(*GetKeyValue(registry, Registry::kLocalMachine, kTool, "PATH", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_EQ(registry.closed, std::vector<Registry::Key>{0}); // closed although not opened
    registry.keys[kTool]["PATH"] = {1, ""};
    EXPECT_FALSE(GetKeyValue(registry, Registry::kLocalMachine, kTool, "PATH", keyVal).ok());
    EXPECT_EQ(registry.closed.size(), registry.opens());
}

struct Start {
    const char* what;
    std::map<std::string, std::map<std::string, Value>> keys;
    long refuseOpen;
    bool toolFileThere;
    std::string startFails; // the platform's description, or "" for a start that succeeds
    std::vector<std::string> started;
    bool unavailable;
};

TEST(StartSysInfoTest, StartsTheToolTheRegistryNamesOrSaysItIsUnavailable) {
    const std::string named = "C:\\Program Files\\Common Files\\msinfo32.exe";
    const Start cases[] = {
        {"the first value is started unchanged",
         {{kTool, {{"PATH", {1, named + '\0'}}}}},
         0,
         false,
         "",
         {named},
         false},
        {"a failed start", {{kTool, {{"PATH", {1, named}}}}}, 0, false, "not found", {named}, true},
        {"the folder value with the tool in it",
         {{kFolder, {{"MSINFO", {1, "C:\\Tools\\\0"s}}}}},
         0,
         true,
         "",
         {"C:\\Tools\\\\MSINFO32.EXE"},
         false},
        {"the folder value without the tool",
         {{kFolder, {{"MSINFO", {1, "C:\\Tools"}}}}},
         0,
         false,
         "",
         {},
         true},
        {"neither value", {}, 0, false, "", {}, true},
        {"access refused",
         {{kTool, {{"PATH", {1, named}}}}},
         Registry::kAccessDenied,
         false,
         "",
         {},
         true},
        {"a first value of size 0: no second lookup",
         {{kTool, {{"PATH", {1, ""}}}}, {kFolder, {{"MSINFO", {1, "C:\\Tools"}}}}},
         0,
         true,
         "",
         {},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeRegistry registry;
        registry.keys = c.keys;
        registry.refuseOpen = c.refuseOpen;
        test::FakeFileSystem files;
        if (c.toolFileThere)
            files.files["C:\\Tools\\\\MSINFO32.EXE"] = files.files["C:\\Tools\\MSINFO32.EXE"] = "";
        test::FakeProgramStarter programs;
        programs.failures = {c.startFails};
        test::FakeBoxes boxes;
        StartSysInfo(registry, files, programs, boxes);
        std::vector<std::string> started;
        for (const auto& [line, show] : programs.started) {
            started.push_back(line);
            EXPECT_EQ(show, ProgramStarter::Show::Normal);
        }
        EXPECT_EQ(started, c.started);
        ASSERT_EQ(boxes.shown.size(), c.unavailable ? 1u : 0u);
        if (c.unavailable)
            test::expectBox(boxes.shown[0], "System Information Is Unavailable At This Time",
                            MessageIcon::None);
        EXPECT_EQ(registry.closed.size(), registry.opens());
    }
}

} // namespace
} // namespace zembrel
