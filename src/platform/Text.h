#pragma once

#include <string>
#include <string_view>

namespace zembrel {

// ASCII letters only: other bytes are code-page letters whose case depends on the code page,
// and the classic upper-casing of paths and names leaves them as they are.
inline char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string upperCaseAscii(std::string text) {
    for (char& c : text)
        c = asciiUpper(c);
    return text;
}

inline bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

} // namespace zembrel
