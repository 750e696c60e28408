#include "platform/posix/PosixProfileStore.h"

#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zembrel {

namespace {

// One line of the file: its text is [begin, end), its line end [end, next).
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

// CR LF, LF and CR alone all end a line, so files from any system read alike.
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

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    return true;
}

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return line.substr(0, line.find(']'));
}

// Where a key is, or would go, in a file's text.
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

// Reads a whole file; nothing when it does not exist, a failure when it cannot be read.
Outcome<std::optional<std::string>> readWhole(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::optional<std::string>();
        return failureFromErrno(errno, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return makeFailure(failure::PathFileAccessError);
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return failureFromErrno(error, path);
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return std::optional<std::string>(std::move(text));
}

bool holdsLineEnd(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// The file's text with the key set to value: only the key's line changes, or one line (and
// a section header) is added.
std::string edited(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value) {
    const Location at = locate(text, section, key);
    std::string result = text;
    if (at.key) {
        const Line& l = at.lines[*at.key];
        result.replace(at.keyBegin, l.end - at.keyBegin,
                       text.substr(at.keyBegin, at.keyEnd - at.keyBegin) + "=" + value);
    } else if (at.section) {
        const Line& l = at.lines[at.lastContent];
        std::string added = key + "=" + value + "\r\n";
        if (l.next == l.end)
            added.insert(0, "\r\n");
        result.insert(l.next, added);
    } else {
        if (!result.empty() && result.back() != '\n' && result.back() != '\r')
            result += "\r\n";
        result += "[" + section + "]\r\n" + key + "=" + value + "\r\n";
    }
    return result;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a write must replace: the target of a symbolic link, so that the link stays.
std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) != nullptr)
        return buffer;
    return path;
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

Status writeAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failureFromErrno(errno, path);
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// Writes text under a temporary name beside path and renames it into place, so that a crash
// leaves either the old file or the new one, never a part of it.
Status replaceFile(const std::string& path, std::string_view text, mode_t mode) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return failureFromErrno(errno, path);
    Status status = writeAll(fd, text, temp);
    if (status && ::fchmod(fd, mode) != 0)
        status = failureFromErrno(errno, temp);
    if (status && ::fsync(fd) != 0)
        status = failureFromErrno(errno, temp);
    if (::close(fd) != 0 && status && errno != EINTR)
        status = failureFromErrno(errno, temp);
    if (status && ::rename(temp.c_str(), path.c_str()) != 0)
        status = failureFromErrno(errno, path);
    if (!status) {
        ::unlink(temp.c_str());
        return status;
    }
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

} // namespace

std::string PosixProfileStore::getString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize,
                                         const std::string& file) {
    const std::size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
    auto text = readWhole(file);
    if (text && *text) {
        const std::string& content = **text;
        const Location at = locate(content, section, key);
        if (at.key) {
            const Line& l = at.lines[*at.key];
            const std::string_view line(content.data() + at.valueBegin, l.end - at.valueBegin);
            return std::string(unquoted(line).substr(0, limit));
        }
    }
    std::string_view result = defaultValue;
    while (!result.empty() && result.back() == ' ')
        result.remove_suffix(1);
    return std::string(result.substr(0, limit));
}

Status PosixProfileStore::writeString(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& file) {
    // A line end, an equals sign in a key or a bracket in a section name would change other
    // keys of the file or the meaning of the line.
    if (holdsLineEnd(value) || holdsLineEnd(key) || holdsLineEnd(section) || trimmed(key).empty() ||
        key.find('=') != std::string::npos || trimmed(key).front() == '[' ||
        trimmed(section).empty() || section.find(']') != std::string::npos)
        return makeFailure(failure::InvalidCall);
    if (file.empty())
        return makeFailure(failure::BadFileName);

    const std::string target = resolved(file);
    auto text = readWhole(target);
    if (!text)
        return text.failure();
    mode_t mode = modeForNewFile();
    if (*text) {
        // A read-only file stays as it is, although its folder would let it be replaced.
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0)
            return failureFromErrno(errno, target);
        if ((st.st_mode & 0222) == 0)
            return makeFailure(failure::PermissionDenied);
        if (::access(target.c_str(), W_OK) != 0)
            return failureFromErrno(errno, target);
        mode = static_cast<mode_t>(st.st_mode & 07777);
    }
    const std::string old = *text ? **text : std::string();
    const std::string updated = edited(old, section, key, value);
    if (*text && updated == old)
        return {};
    return replaceFile(target, updated, mode);
}

} // namespace zembrel
