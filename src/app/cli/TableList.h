#pragma once

#include "app/cli/FileList.h"
#include "xer/TableCensus.h"

#include <ostream>
#include <string>
#include <vector>

namespace zembrel {

// What the tables command found in one file.
struct TablesRun {
    std::string path;
    xer::TablesReport report;
};

// One file's tables as a table for people: the biggest first, names left, numbers right;
// names shown safely on a terminal. The file must have been read to its end.
void writeTableList(std::ostream& out, const TablesRun& run, bool terminal);

// The whole run as one JSON document (version 1, command "tables").
void writeTablesJson(std::ostream& out, const std::vector<TablesRun>& runs,
                     const std::vector<SkippedEntry>& skipped, int status);

} // namespace zembrel
