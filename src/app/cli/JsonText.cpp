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

} // namespace

void putExact(Json& object, const std::string& key, const std::string& text) {
    object[key] = text;
    if (!validUtf8(text))
        object[key + "Hex"] = hex(text);
}

void writeDocument(std::ostream& out, const std::string& command, Json files,
                   const std::vector<SkippedEntry>& skipped, int status) {
    Json document{{"version", 1}, {"command", command}};
    document["files"] = std::move(files);
    Json skips = Json::array();
    for (const SkippedEntry& entry : skipped) {
        Json skip;
        putExact(skip, "path", entry.path);
        skip["reason"] = entry.reason;
        skip["failed"] = entry.failure;
        skips.push_back(skip);
    }
    document["skipped"] = skips;
    document["status"] = status;
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace zembrel
