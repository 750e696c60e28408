#include "app/cli/BatchReport.h"

#include "app/cli/Console.h"

#include <algorithm>
#include <array>

namespace zembrel {

namespace {

std::string sizeText(const std::optional<std::uint64_t>& size) {
    return size ? std::to_string(*size) : "-";
}

// The length of a valid UTF-8 sequence starting at i, or 0.
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
            return 0;
    return n;
}

std::string jsonNumber(const std::optional<std::uint64_t>& value) {
    return value ? std::to_string(*value) : "null";
}

} // namespace

std::string jsonString(const std::string& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8Length(text, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || n == 0) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out.append(text, i, n);
            i += n;
            continue;
        }
        ++i;
    }
    return out + "\"";
}

void writeSummary(std::ostream& out, const std::vector<FileResult>& results, bool purge,
                  bool terminal) {
    using Row = std::array<std::string, 6>;
    std::vector<Row> rows{{"File", purge ? "POBS removed" : "POBS records",
                           purge ? "Risk types removed" : "Risk type records", "Size before",
                           "Size after", "Outcome"}};
    for (const FileResult& r : results)
        rows.push_back({shown(r.file, terminal), std::to_string(r.pobs),
                        std::to_string(r.riskTypes), sizeText(r.sizeBefore), sizeText(r.sizeAfter),
                        r.outcome});
    std::array<std::size_t, 6> width{};
    for (const Row& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    for (const Row& row : rows) {
        std::string line = row[0] + std::string(width[0] - row[0].size(), ' ');
        for (std::size_t c = 1; c < 5; ++c) // numbers line up on the right
            line += "  " + std::string(width[c] - row[c].size(), ' ') + row[c];
        out << line << "  " << row[5] << '\n';
    }
}

void writeJson(std::ostream& out, const std::vector<FileResult>& results,
               const std::vector<SkippedEntry>& skipped, bool purge, int status) {
    out << "{\"command\":" << (purge ? "\"purge\"" : "\"survey\"") << ",\"files\":[";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const FileResult& r = results[i];
        out << (i ? "," : "") << "{\"file\":" << jsonString(r.file)
            << ",\"outcome\":" << jsonString(r.outcome)
            << (purge ? ",\"pobsRemoved\":" : ",\"pobsRecords\":") << r.pobs
            << (purge ? ",\"riskTypesRemoved\":" : ",\"riskTypeRecords\":") << r.riskTypes
            << ",\"sizeBefore\":" << jsonNumber(r.sizeBefore)
            << ",\"sizeAfter\":" << jsonNumber(r.sizeAfter)
            << ",\"newFile\":" << (r.newFile.empty() ? "null" : jsonString(r.newFile))
            << ",\"report\":" << jsonString(r.report) << "}";
    }
    out << "],\"skipped\":[";
    for (std::size_t i = 0; i < skipped.size(); ++i)
        out << (i ? "," : "") << "{\"path\":" << jsonString(skipped[i].path)
            << ",\"reason\":" << jsonString(skipped[i].reason) << "}";
    out << "],\"status\":" << status << "}\n";
}

} // namespace zembrel
