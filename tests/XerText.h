#pragma once

#include <string>
#include <vector>

namespace zembrel::test {

// Joins lines into XER text, each followed by CR LF.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace zembrel::test
