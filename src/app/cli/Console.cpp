#include "app/cli/Console.h"

namespace zembrel {

std::string shownName(const std::string& name, bool terminal) {
    if (!terminal)
        return name;
    std::string safe;
    safe.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            safe += c;
            continue;
        }
        switch (c) {
        case '\a': safe += "\\a"; break;
        case '\b': safe += "\\b"; break;
        case '\t': safe += "\\t"; break;
        case '\n': safe += "\\n"; break;
        case '\r': safe += "\\r"; break;
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
