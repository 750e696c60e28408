#pragma once

#include <string>

namespace zembrel {

// A full Windows command line without the program's name (quoted or not) and the blanks after
// it: the text as typed after the program's name.
inline std::string argumentsOfCommandLine(const std::string& line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const auto close = line.find('"', 1);
        i = close == std::string::npos ? line.size() : close + 1;
    }
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return line.substr(i);
}

} // namespace zembrel
