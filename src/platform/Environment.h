#pragma once

#include "platform/Failure.h"

#include <string>

namespace zembrel {

// What the platform tells the program about where it runs and how it was started.
class Environment {
public:
    virtual ~Environment() = default;

    // The folder of the program's executable, without a trailing separator.
    virtual std::string executableFolder() = 0;
    // The command-line text as typed after the program's name, quotes included.
    virtual std::string commandLine() = 0;
    // The user's local (non-roaming) application data folder, without a trailing separator; a
    // failure when the platform gives none.
    virtual Outcome<std::string> localAppDataFolder() = 0;
    // The user's home folder, without a trailing separator; empty when the platform gives none.
    virtual std::string homeFolder() = 0;
};

} // namespace zembrel
