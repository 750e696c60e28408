#pragma once

#include "platform/Environment.h"

#include <string>

namespace zembrel::test {

// The program's surroundings as plain values.
class FakeEnvironment final : public Environment {
public:
    std::string programFolder = "/opt/zembrel";
    std::string line;
    Outcome<std::string> localAppData = std::string("/home/ann/.config");
    std::string home = "/home/ann";

    std::string executableFolder() override { return programFolder; }
    std::string commandLine() override { return line; }
    Outcome<std::string> localAppDataFolder() override { return localAppData; }
    std::string homeFolder() override { return home; }
};

} // namespace zembrel::test
