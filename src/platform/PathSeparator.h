#pragma once

#include <string>

namespace zembrel {

// The character that separates folders in the platform's paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The text with its ASCII letters in upper case; other bytes (code-page letters) stay as they
// are, as the classic upper-casing of paths leaves them.
inline std::string upperCaseAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

} // namespace zembrel
