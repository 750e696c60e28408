#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace zembrel::fuzz {

void broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::vector<Line> linesOf(std::string_view file) {
    std::vector<Line> lines;
    enum { Undecided, Cr, CrOrLf } ends = Undecided;
    std::size_t at = 0;
    while (at < file.size()) {
        std::size_t end = at;
        while (end < file.size() && file[end] != '\r' && (file[end] != '\n' || ends == Cr))
            ++end;
        std::size_t endSize = 0;
        if (end < file.size()) {
            if (ends == Undecided)
                ends = file[end] == '\r' ? Cr : CrOrLf;
            const bool crLf = file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n';
            endSize = crLf ? 2 : 1;
        }
        lines.push_back({file.substr(at, end - at), endSize});
        at = end + endSize;
    }
    return lines;
}

bool opensTable(std::string_view line, std::string_view name) {
    const auto first = line.find_first_not_of(' ');
    if (first == line.npos)
        return false;
    line = line.substr(first, line.find_last_not_of(' ') + 1 - first);
    return line.size() == 3 + name.size() && line.starts_with("%T\t") && line.ends_with(name);
}

bool isXerText(std::string_view file) {
    const std::string_view firstLine = file.substr(0, file.find_first_of("\r\n"));
    if (firstLine.find('\0') != firstLine.npos)
        return false;
    if (file.starts_with("\xef\xbb\xbf"))
        file.remove_prefix(3);
    return file.starts_with("ERMHDR");
}

std::size_t smallBlockFor(std::string_view data) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : data)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return 1 + hash % 64;
}

Services::Services(std::string_view file, std::size_t blockSize)
    : platform(files, boxes, events, pointer, blockSize) {
    files.folders.insert("/jobs");
    files.files[kPath] = std::string(file);
    // One input in eight is written behind on a thread of its own, as on two processors.
    files.threads = blockSize % 8 == 0;
}

} // namespace zembrel::fuzz
