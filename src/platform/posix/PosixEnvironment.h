#pragma once

#include "platform/Environment.h"
#include "platform/PathRules.h"

#include <string>
#include <vector>

namespace zembrel {

// The environment from /proc, the program's arguments and the XDG variables.
class PosixEnvironment final : public Environment {
public:
    PosixEnvironment(int argc, const char* const* argv);

    std::string executableFolder() override;
    std::string commandLine() override;
    Outcome<std::string> localAppDataFolder() override;
    std::string homeFolder() override;

private:
    std::vector<std::string> m_arguments;
};

// The command line as the user would have typed it, rebuilt from the arguments after the
// program's name. The shell has removed the quotes around a "/INI=" folder name; they are put
// back, and any other argument holding a blank is quoted.
std::string commandLineFromArguments(const std::vector<std::string>& arguments);

// The folder under <prefix>/share/ that an installed program keeps its read-only files in.
inline constexpr const char* kPackageFolderName = "zembrelpobs";

// An installed program runs from <prefix>/bin/ and finds its prompts and help in
// <prefix>/share/zembrelpobs/: when that folder exists, rules get the pair that moves the
// program folder there. A build tree has no such folder and keeps its files beside the
// executable.
PathRules withInstalledLayout(PathRules rules, const std::string& executableFolder);

} // namespace zembrel
