#include "app/cli/Console.h"

namespace zembrel {

std::string shown(std::string text, bool terminal) {
    if (!terminal)
        return text;
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 0x20 && byte != 0x7f) || c == '\r' || c == '\n') {
            safe += c;
            continue;
        }
        switch (c) {
        case '\a': safe += "\\a"; break;
        case '\b': safe += "\\b"; break;
        case '\t': safe += "\\t"; break;
        case '\v': safe += "\\v"; break;
        case '\f': safe += "\\f"; break;
        default:
            safe += '\\';
            safe += static_cast<char>('0' + (byte >> 6));
            safe += static_cast<char>('0' + ((byte >> 3) & 7));
            safe += static_cast<char>('0' + (byte & 7));
        }
    }
    return safe;
}

} // namespace zembrel
