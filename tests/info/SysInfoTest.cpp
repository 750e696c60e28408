#include "info/SysInfo.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace zembrel {
namespace {

using namespace std::string_literals;

// Keys of HKEY_LOCAL_MACHINE with their values, as bytes with a type. Keeps every call, so a
// test sees the rights asked for and that every key opened was closed.
class FakeRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type = kString;
        std::string bytes;
    };
    std::map<std::string, std::map<std::string, Value>> keys;
    long refuseOpen = kSuccess; // what open answers for every key, when not kSuccess
    std::vector<std::string> opened;
    std::vector<Key> closed;

    long open(Key root, const std::string& subKey, std::uint32_t access, Key& key) override {
        opened.push_back(subKey + " " + std::to_string(access));
        key = 0;
        const auto it = keys.find(subKey);
        if (root != kLocalMachine || refuseOpen != kSuccess || it == keys.end())
            return refuseOpen != kSuccess ? refuseOpen : kFileNotFound;
        key = static_cast<Key>(std::distance(keys.begin(), it)) + 100;
        return kSuccess;
    }
    long query(Key key, const std::string& name, std::uint32_t& type, char* buffer,
               std::uint32_t& size) override {
        const auto& values = std::next(keys.begin(), static_cast<long>(key) - 100)->second;
        const auto value = values.find(name);
        if (value == values.end())
            return kFileNotFound;
        type = value->second.type;
        if (value->second.bytes.size() > size)
            return kMoreData;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        std::memcpy(buffer, value->second.bytes.data(), size);
        return kSuccess;
    }
    long close(Key key) override {
        closed.push_back(key);
        return kSuccess;
    }
};

using Value = FakeRegistry::Value;
const std::string kTool = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolder = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(GetKeyValueTest, TrimsAndConvertsByType) {
    const struct {
        const char* what;
        std::optional<Value> value; // nothing: no key
        std::string in;             // keyVal on the way in
        Outcome<bool> ok;
        std::string out;
    } cases[] = {
        // clang-format off
        {"a string with its NUL counted", Value{1, "C:\\msinfo32.exe\0"s}, "", true, "C:\\msinfo32.exe"},
        {"a string without it", Value{1, "C:\\tool"}, "", true, "C:\\tool"},
        {"an empty string, NUL counted", Value{1, "\0"s}, "x", true, ""},
        {"a number 1, 0, 0, 0: &h001", Value{4, "\x01\0\0\0"s}, "", true, "1"},
        {"a number 0x2710", Value{4, "\x10\x27\0\0"s}, "", true, "10000"},
        {"a number after what came in", Value{4, "\x0b\0\0\0"s}, "A", true, "40971"}, // &hA00B
        {"another type leaves the text", Value{3, "\x01\x02"s}, "kept", true, "kept"},
        {"longer than the buffer", Value{1, std::string(1025, 'x')}, "in", false, ""},
        {"exactly the buffer", Value{1, std::string(1024, 'y')}, "", true, std::string(1024, 'y')},
        {"no key: closed although not opened", std::nullopt, "in", false, ""},
        {"an empty value is a failure", Value{1, ""}, "in", makeFailure(0), "in"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        if (c.value)
            registry.keys[kTool]["PATH"] = *c.value;
        std::string keyVal = c.in;
        const auto result = GetKeyValue(registry, Registry::kLocalMachine, kTool, "PATH", keyVal);
        ASSERT_EQ(result.ok(), c.ok.ok());
        if (result.ok()) {
            EXPECT_EQ(*result, *c.ok);
            EXPECT_EQ(keyVal, c.out);
        }
        EXPECT_EQ(registry.opened.at(0), kTool + " 131135"); // 2003F: more than reading
        EXPECT_EQ(registry.closed, std::vector<Registry::Key>{c.value ? 100u : 0u});
    }
}

TEST(StartSysInfoTest, StartsTheToolTheRegistryNamesOrSaysItIsUnavailable) {
    const std::string named = "C:\\Program Files\\Common Files\\msinfo32.exe";
    const std::string inFolder = "C:\\Tools\\\\MSINFO32.EXE";
    const struct {
        const char* what;
        std::map<std::string, std::map<std::string, Value>> keys;
        long refuseOpen;
        bool toolFileThere;
        std::string startFails; // the platform's description, or "" for a start that succeeds
        std::vector<std::string> started;
    } cases[] = {
        // clang-format off
        {"the first value is started unchanged", {{kTool, {{"PATH", {1, named + '\0'}}}}}, 0, false, "", {named}},
        {"a failed start", {{kTool, {{"PATH", {1, named}}}}}, 0, false, "not found", {named}},
        {"the folder value with the tool in it", {{kFolder, {{"MSINFO", {1, "C:\\Tools\\\0"s}}}}}, 0, true, "", {inFolder}},
        {"the folder value without the tool", {{kFolder, {{"MSINFO", {1, "C:\\Tools"}}}}}, 0, false, "", {}},
        {"neither value", {}, 0, false, "", {}},
        {"access refused", {{kTool, {{"PATH", {1, named}}}}}, Registry::kAccessDenied, false, "", {}},
        {"a first value of size 0: no second lookup",
         {{kTool, {{"PATH", {1, ""}}}}, {kFolder, {{"MSINFO", {1, "C:\\Tools"}}}}}, 0, true, "", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        registry.keys = c.keys;
        registry.refuseOpen = c.refuseOpen;
        test::FakeFileSystem files;
        if (c.toolFileThere)
            files.files[inFolder] = files.files["C:\\Tools\\MSINFO32.EXE"] = "";
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
        const bool unavailable = started.empty() || !c.startFails.empty();
        ASSERT_EQ(boxes.shown.size(), unavailable ? 1u : 0u);
        if (unavailable)
            test::expectBox(boxes.shown[0], "System Information Is Unavailable At This Time",
                            MessageIcon::None);
        EXPECT_EQ(registry.closed.size(), registry.opened.size());
    }
}

} // namespace
} // namespace zembrel
