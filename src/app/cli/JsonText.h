#pragma once

#include "app/cli/FileList.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace zembrel {

// The companion's JSON documents keep their members in the order written.
using Json = nlohmann::ordered_json;

// A text as object[key], readable, and, when it is not valid UTF-8, also as its bytes in hex
// under key + "Hex": two different names never read back as one.
void putExact(Json& object, const std::string& key, const std::string& text);

// Writes the document of a whole run (version 1) as the run goes: the command, each file's
// values as soon as they are known (a long run holds one file's values at a time), then what a
// walk skipped and the exit status. Bytes that are not UTF-8 become U+FFFD, a readable
// stand-in: the exact text is under its "…Hex" member.
class JsonRunWriter {
public:
    JsonRunWriter(std::ostream& out, const std::string& command);
    void file(const Json& file);
    void finish(const std::vector<SkippedEntry>& skipped, int status);

private:
    std::ostream& m_out;
    bool m_anyFile = false;
};

// The same document for values already at hand.
void writeDocument(std::ostream& out, const std::string& command, const Json& files,
                   const std::vector<SkippedEntry>& skipped, int status);

} // namespace zembrel
