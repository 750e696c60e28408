#pragma once

#include <iosfwd>
#include <istream>
#include <ostream>
#include <string>

namespace zembrel {

// Where the companion writes and reads. A stream that is a terminal gets the control bytes of
// the names it shows escaped; files and pipes get every byte as it is.
struct Console {
    std::ostream& out;
    std::ostream& err;
    // Where a question not answered by an option is answered; none: answered No.
    std::istream* answers = nullptr;
    bool outIsTerminal = false;
    // Also where the progress line shows.
    bool errIsTerminal = false;
};

// A file name as a terminal may show it: its control bytes written as ls -b writes them (ESC as
// \033, a line feed as \n), so that a name cannot retitle, recolour or clear the terminal, nor
// fake a line of its own. Unchanged when not for a terminal.
std::string shownName(const std::string& name, bool terminal);

} // namespace zembrel
