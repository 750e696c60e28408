#include "platform/CommandLine.h"

namespace zembrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string programName(std::string_view line, std::size_t& i) {
    std::string name;
    bool quoted = false;
    for (; i < line.size() && (quoted || !isBlank(line[i])); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else
            name += line[i];
    }
    return name;
}

std::string argument(std::string_view line, std::size_t& i) {
    std::string word;
    bool quoted = false;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
        std::size_t backslashes = 0;
        for (; i < line.size() && line[i] == '\\'; ++i)
            ++backslashes;
        if (i == line.size() || line[i] != '"') {
            word.append(backslashes, '\\');
            if (i < line.size() && (quoted || !isBlank(line[i])))
                word += line[i++];
            continue;
        }
        word.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
            word += '"';
            ++i;
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
            word += '"';
            i += 2;
        } else {
            quoted = !quoted;
            ++i;
        }
    }
    return word;
}

void skipBlanks(std::string_view line, std::size_t& i) {
    while (i < line.size() && isBlank(line[i]))
        ++i;
}

} // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::size_t i = 0;
    skipBlanks(line, i);
    if (i == line.size())
        return {};
    std::vector<std::string> words{programName(line, i)};
    for (skipBlanks(line, i); i < line.size(); skipBlanks(line, i))
        words.push_back(argument(line, i));
    return words;
}

} // namespace zembrel
