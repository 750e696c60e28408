#pragma once

#include "app/cli/JsonText.h"
#include "xer/TableCensus.h"

#include <ostream>
#include <string>

namespace zembrel {

// What the tables command found in one file.
struct TablesRun {
    std::string path;
    xer::TablesReport report;
};

// One file's tables as a table for people: the biggest first, names left, numbers right;
// names shown safely on a terminal. The file must have been read to its end.
void writeTableList(std::ostream& out, const TablesRun& run, bool terminal);

// One file's values as a member of the "files" of the run's JSON document (command "tables").
Json tablesJson(const TablesRun& run);

} // namespace zembrel
