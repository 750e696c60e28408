#pragma once

#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <iosfwd>
#include <istream>
#include <string>
#include <vector>

namespace zembrel {

// The command-line companion without its process: arguments (without the program name) in,
// exit status out. Message boxes go to err as "Plovard: " + text, results to out. A question
// not answered by an option is read from terminal, or answered No when there is none. Progress
// shows on progressTerminal, when there is one.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, const PathRules& paths, std::istream* terminal = nullptr,
           std::ostream* progressTerminal = nullptr);

} // namespace zembrel
