#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

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

} // namespace zembrel::test
