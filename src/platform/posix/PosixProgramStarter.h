#pragma once

#include "platform/ProgramStarter.h"

#include <string>
#include <vector>

namespace zembrel {

// Starts a program as its own session, detached: the line is split as Windows splits it and the
// program is executed directly, never through a shell; a name without a slash is looked up in
// PATH, as Windows looks a bare name up. The program reads no input (standard input is
// /dev/null) and keeps running when this one ends. The show state has no equivalent here: the
// desktop places the new window.
class PosixProgramStarter final : public ProgramStarter {
public:
    Status start(const std::string& commandLine, Show show) override;
};

// The arguments a player gets instead of the Windows player switches "/play" and "/close" that
// lead its argument list: vlc plays what it is given and closes at its end with
// "--play-and-exit"; mpv does both unasked. Any other program gets its arguments unchanged.
std::vector<std::string> playerArguments(const std::string& program,
                                         std::vector<std::string> arguments);

} // namespace zembrel
