#include "app/cli/JsonText.h"

namespace zembrel {

namespace {

bool validUtf8(const std::string& value) {
    try {
        (void)Json(value).dump();
        return true;
    } catch (const Json::type_error&) {
        return false;
    }
}

std::string hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

// A value indented by two spaces a level, its lines after the first starting `indent` spaces in,
// as a whole document's dump(2) would place it.
std::string text(const Json& value, std::size_t indent) {
    const std::string dumped = value.dump(2, ' ', false, Json::error_handler_t::replace);
    std::string placed;
    placed.reserve(dumped.size());
    for (const char c : dumped) {
        placed += c;
        if (c == '\n')
            placed.append(indent, ' ');
    }
    return placed;
}

} // namespace

void putExact(Json& object, const std::string& key, const std::string& text) {
    object[key] = text;
    if (!validUtf8(text))
        object[key + "Hex"] = hex(text);
}

JsonRunWriter::JsonRunWriter(std::ostream& out, const std::string& command) : m_out(out) {
    m_out << "{\n  \"version\": 1,\n  \"command\": " << text(Json(command), 2)
          << ",\n  \"files\": [";
}

void JsonRunWriter::file(const Json& file) {
    m_out << (m_anyFile ? ",\n    " : "\n    ") << text(file, 4);
    m_anyFile = true;
}

void JsonRunWriter::finish(const std::vector<SkippedEntry>& skipped, int status) {
    Json skips = Json::array();
    for (const SkippedEntry& entry : skipped) {
        Json skip;
        putExact(skip, "path", entry.path);
        skip["reason"] = entry.reason;
        skip["failed"] = entry.failure;
        skips.push_back(skip);
    }
    m_out << (m_anyFile ? "\n  ]" : "]") << ",\n  \"skipped\": " << text(skips, 2)
          << ",\n  \"status\": " << status << "\n}\n";
}

void writeDocument(std::ostream& out, const std::string& command, const Json& files,
                   const std::vector<SkippedEntry>& skipped, int status) {
    JsonRunWriter writer(out, command);
    for (const Json& file : files)
        writer.file(file);
    writer.finish(skipped, status);
}

} // namespace zembrel
