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

// Writes the document of a whole run (version 1): the command, each file's values, what a walk
// skipped, the exit status. Bytes that are not UTF-8 become U+FFFD, a readable stand-in: the
// exact text is under its "…Hex" member.
void writeDocument(std::ostream& out, const std::string& command, Json files,
                   const std::vector<SkippedEntry>& skipped, int status);

} // namespace zembrel
