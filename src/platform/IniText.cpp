#include "platform/IniText.h"

#include "platform/Text.h"

#include <vector>

namespace zembrel::ini {

namespace {

// One line of the text: its characters are [begin, end), its line end [end, next).
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            lines.push_back({begin, i, i + 1});
            begin = i + 1;
        } else if (text[i] == '\r') {
            const std::size_t next = i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
            lines.push_back({begin, i, next});
            begin = next;
            i = next - 1;
        }
    }
    if (begin < text.size())
        lines.push_back({begin, text.size(), text.size()});
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return sameIgnoringAsciiCase(trimmed(a), trimmed(b));
}

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return line.substr(0, line.find(']'));
}

// Where a key is, or would go, in a text.
struct Location {
    std::vector<Line> lines;
    std::optional<std::size_t> section;   // the header line of the first matching section
    std::size_t lastContent = 0;          // the section's last line that is not blank
    std::optional<std::size_t> key;       // the first line of the key in that section
    std::size_t keyBegin = 0, keyEnd = 0; // the key's name on that line, without blanks
    std::size_t valueBegin = 0;           // the first character after the equals sign
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location at;
    at.lines = splitLines(text);
    for (std::size_t i = 0; i < at.lines.size(); ++i) {
        const Line& l = at.lines[i];
        const std::string_view line = text.substr(l.begin, l.end - l.begin);
        const auto name = sectionName(line);
        if (at.section) {
            if (name)
                break;
            if (!trimmed(line).empty())
                at.lastContent = i;
            const auto equals = line.find('=');
            if (at.key || equals == std::string_view::npos)
                continue;
            if (sameName(line.substr(0, equals), key)) {
                const std::string_view spelled = trimmed(line.substr(0, equals));
                at.key = i;
                at.keyBegin = l.begin + static_cast<std::size_t>(spelled.data() - line.data());
                at.keyEnd = at.keyBegin + spelled.size();
                at.valueBegin = l.begin + equals + 1;
            }
        } else if (name && sameName(*name, section)) {
            at.section = i;
            at.lastContent = i;
        }
    }
    return at;
}

std::string_view unquoted(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return value;
}

bool holdsLineEnd(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::string valueOf(std::optional<std::string_view> text, std::string_view section,
                    std::string_view key, std::string_view defaultValue, std::size_t bufferSize) {
    const std::size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
    if (text) {
        const Location at = locate(*text, section, key);
        if (at.key) {
            const Line& l = at.lines[*at.key];
            return std::string(unquoted(text->substr(at.valueBegin, l.end - at.valueBegin)))
                .substr(0, limit);
        }
    }
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return std::string(defaultValue.substr(0, limit));
}

bool isWritable(std::string_view section, std::string_view key, std::string_view value) {
    return !holdsLineEnd(value) && !holdsLineEnd(key) && !holdsLineEnd(section) &&
           !trimmed(key).empty() && key.find('=') == std::string_view::npos &&
           trimmed(key).front() != '[' && !trimmed(section).empty() &&
           section.find(']') == std::string_view::npos;
}

std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const Location at = locate(text, section, key);
    const std::string entry = std::string(key) + "=" + std::string(value) + "\r\n";
    std::string result(text);
    if (at.key) {
        const Line& l = at.lines[*at.key];
        const std::string_view spelled = text.substr(at.keyBegin, at.keyEnd - at.keyBegin);
        result.replace(at.keyBegin, l.end - at.keyBegin,
                       std::string(spelled) + "=" + std::string(value));
    } else if (at.section) {
        const Line& l = at.lines[at.lastContent];
        // A last line without a line end gets one before the new key.
        result.insert(l.next, l.next == l.end ? "\r\n" + entry : entry);
    } else {
        if (!result.empty() && result.back() != '\n' && result.back() != '\r')
            result += "\r\n";
        result += "[" + std::string(section) + "]\r\n" + entry;
    }
    return result;
}

} // namespace zembrel::ini
