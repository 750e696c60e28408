#pragma once

#include "platform/Failure.h"

#include <string>

namespace zembrel {

// Starts another program from a command line, without waiting for it.
class ProgramStarter {
public:
    // How the started program's window first shows (the Windows show states).
    enum class Show { Normal = 1, MinimizedActive = 2 };

    virtual ~ProgramStarter() = default;
    // The first word of commandLine (in double quotes when it holds blanks) names the program,
    // the rest are its arguments, split as Windows splits them; never through a shell. A failure
    // carries the platform's description of why the program did not start.
    virtual Status start(const std::string& commandLine, Show show) = 0;
};

} // namespace zembrel
