#pragma once

#include "platform/Environment.h"
#include "platform/CommandLine.h"

namespace zembrel {

// The environment from the Windows calls for the module name, the command line and the
// special folders.
class Win32Environment final : public Environment {
public:
    std::string executableFolder() override;
    std::string commandLine() override;
    Outcome<std::string> localAppDataFolder() override;
    std::string homeFolder() override;
};

} // namespace zembrel
