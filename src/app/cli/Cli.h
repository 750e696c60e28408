#pragma once

#include "platform/FileSystem.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace zembrel {

// The command-line companion without its process: arguments (without the program name) in,
// exit status out. Message boxes go to err as "Plovard: " + text, results to out.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files);

} // namespace zembrel
