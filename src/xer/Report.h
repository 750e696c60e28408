#pragma once

#include "platform/Failure.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zembrel::xer {

// The two tables the survey watches.
enum class Table { Pobs, RiskType };

enum class SurveyOutcome {
    NotSpecified, // no file was chosen
    NotFound,     // no file at the path
    Reported,     // the counts are known
    Broken,       // the file ends inside a POBS or RISKTYPE table
    Failed,       // a file operation failed
    Stopped,      // the program is closing
};

// What a survey found, as values: the window, the companion and its JSON each say it their way.
struct SurveyReport {
    SurveyOutcome outcome = SurveyOutcome::Stopped;
    std::int32_t pobs = 0;      // POBS records counted (up to the break, when broken)
    std::int32_t riskTypes = 0; // RISKTYPE records counted
    // The SUB bytes replaced by spaces, and the offsets of the first of them, in the order
    // repaired: a file may hold millions, and memory stays bounded.
    static constexpr std::size_t kRepairsListed = 10000;
    std::int32_t repaired = 0;
    std::vector<std::uint64_t> repairs;
    Table brokenIn = Table::Pobs;      // when Broken
    Failure failure;                   // when Failed
    std::optional<std::uint64_t> size; // the file's length when it was opened

    // The survey found records a purge would remove.
    bool foundRecords() const {
        return outcome == SurveyOutcome::Reported && std::int64_t{pobs} + riskTypes > 0;
    }
};

enum class PurgeOutcome {
    NotFound,     // the current file is gone
    Nothing,      // there were no records to remove
    KeptExisting, // a file stands under the new name and the user keeps it
    Empty,        // the file (or the intermediate) is empty
    Created,      // the new file was written and is now the current file
    NotCreated,   // the passes ran, but no file stands under the new name
    Failed,       // a file operation failed; nothing is left under the new name
    Stopped,      // the program is closing; nothing is left under the new name
};

// What a purge did, as values.
struct PurgeReport {
    PurgeOutcome outcome = PurgeOutcome::Stopped;
    std::int32_t pobsRemoved = 0;
    std::int32_t riskTypesRemoved = 0;
    std::int32_t riskTypesKept = 0;
    std::int32_t riskTypesReferenced = 0; // the risk types risks refer to, and their parents
    Table emptyIn = Table::Pobs;          // when Empty: the file, or the intermediate
    Failure failure;                      // when Failed
    std::string newFile;                  // the new file's path, once it is formed
    std::string newName;                  // its name as shown, when Created
    std::string intermediate;             // "Temp.TXT" or the name it took, when kept
    std::optional<std::uint64_t> sizeBefore;
    std::optional<std::uint64_t> sizeAfter;

    // The purge got as far as its report of what it removed.
    bool reported() const {
        return outcome == PurgeOutcome::Created || outcome == PurgeOutcome::NotCreated ||
               outcome == PurgeOutcome::Nothing;
    }
};

} // namespace zembrel::xer
