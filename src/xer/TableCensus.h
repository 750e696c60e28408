#pragma once

#include "platform/Failure.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zembrel::xer {

// Every table of one name in a file, added up. A table runs from its table line up to the line
// that ends it ("%T" or "%E", which belongs to what follows), or to the end of the file.
struct TableTally {
    std::string name;             // as its table line gives it; the first 64 bytes of a longer one
    std::uint64_t nameLength = 0; // the name's whole length in bytes
    std::uint64_t tables = 0;     // table lines of this name
    std::uint64_t records = 0;    // "%R" lines inside the tables
    std::uint64_t bytes = 0;      // every byte of the tables, line ends included
};

enum class TablesOutcome {
    Reported, // the file was read to its end
    Failed,   // it could not be read, or is UTF-16 text
    Stopped,  // the program is closing
};

// What fills a file, as values. Read only: a SUB byte is counted and read as the space a
// survey's repair would make of it, and the file stays as it is.
struct TablesReport {
    // Distinct names kept apart; the tables of any further names are added up in `other`, so
    // that memory stays bounded whatever the file holds.
    static constexpr std::size_t kNamesKept = 4096;

    TablesOutcome outcome = TablesOutcome::Stopped;
    std::vector<TableTally> tables;    // the biggest first: by bytes, then records, then name
    TableTally other;                  // the tables beyond kNamesKept names (tables == 0: none)
    std::uint64_t outside = 0;         // bytes in no table: the header line, lines after "%E" …
    std::optional<std::uint64_t> size; // the file's length when it was opened
    std::uint64_t subBytes = 0;
    std::optional<std::uint64_t> firstSub; // the offset of the first SUB byte
    bool endsInTable = false;              // no line ends the file's last table
    Failure failure;                       // when Failed
};

// Counts the records and bytes of every table of the file at path, in one pass at the speed of
// the survey; the platform's events get their turn as for a survey.
TablesReport countTables(const std::string& path, Platform& platform);

} // namespace zembrel::xer
