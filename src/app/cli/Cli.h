#pragma once

#include "app/cli/Console.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <iosfwd>
#include <istream>
#include <string>
#include <vector>

namespace zembrel {

// The command-line companion without its process: arguments (without the program name) in,
// exit status out. Message boxes go to the console's err as "Plovard: " + text, results to its
// out.
int runCli(const std::vector<std::string>& args, const Console& console, FileSystem& files,
           const PathRules& paths);

} // namespace zembrel
