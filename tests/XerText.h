#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zembrel::test {

// Joins lines into XER text, each followed by CR LF.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace zembrel::test
