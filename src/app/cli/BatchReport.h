#pragma once

#include "app/cli/FileList.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zembrel {

// What became of one file of a companion run.
struct FileResult {
    std::string file;
    std::string outcome;        // reported, nothing found, broken, refused, failed, created, kept
    std::int64_t pobs = 0;      // records counted, or removed by a purge
    std::int64_t riskTypes = 0; // records counted, or removed by a purge
    std::optional<std::uint64_t> sizeBefore;
    std::optional<std::uint64_t> sizeAfter;
    std::string newFile;
    std::string report;
};

// The table at the end of a run over several files: one row per file; names shown safely on a
// terminal.
void writeSummary(std::ostream& out, const std::vector<FileResult>& results, bool purge,
                  bool terminal);

// The whole run as one JSON document, for programs: the command, every file's result, what a
// walk skipped, the status.
void writeJson(std::ostream& out, const std::vector<FileResult>& results,
               const std::vector<SkippedEntry>& skipped, bool purge, int status);

// A text as a JSON string: valid UTF-8 stands as it is, other bytes as \u00XX.
std::string jsonString(const std::string& text);

} // namespace zembrel
