#include "platform/posix/PosixRegistry.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zembrel {
namespace {

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
    std::filesystem::create_directories(dir.file("a"));
    std::filesystem::create_directories(dir.file("b"));
    const auto program = [&](const std::string& path, bool executable) {
        dir.write(path, "#!/bin/sh\n");
        std::filesystem::permissions(dir.file(path), executable
                                                         ? std::filesystem::perms::owner_all
                                                         : std::filesystem::perms::owner_read);
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

} // namespace
} // namespace zembrel
