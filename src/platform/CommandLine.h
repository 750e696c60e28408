#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zembrel {

// A command line split into the program and its arguments by the rules of the Windows C
// runtime, so that a line means the same program and arguments on every platform. Blanks and
// tabs separate words, and double quotes group them. In the program's name, the first word,
// quotes only group. In the arguments, backslashes are literal except before a double quote:
// 2n of them and a quote give n backslashes and a grouping quote, 2n + 1 of them give n
// backslashes and a literal quote, and "" inside quotes is a literal quote. A line of blanks
// names no program and gives nothing.
std::vector<std::string> splitCommandLine(std::string_view line);

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
