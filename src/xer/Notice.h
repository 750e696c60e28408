#pragma once

#include "platform/Failure.h"
#include "xer/Report.h"

#include <cstdint>
#include <string>

namespace zembrel::xer {

// What an operation has to say while it runs. The window shows each as a label or a message box
// (the texts are formatted in one place, above the engine); the companion writes or collects it.
enum class NoticeKind {
    NotSpecified,   // survey: no file was chosen                      (message)
    NotFound,       // survey or purge: no file at the path            (message)
    Opening,        // survey: the file is being read                  (label)
    Reconditioning, // survey: a SUB byte is being repaired            (label)
    Repaired,       // survey: one more byte repaired                  (message)
    Broken,         // survey: the file ends inside a table            (message and label)
    SurveyFailed,   // survey: a file operation failed                 (message and label)
    Surveyed,       // survey: the counts                              (label)
    Overwrite,      // purge: a file stands under the new name         (question)
    KeptExisting,   // purge: the user keeps it, or it appeared meanwhile (label)
    Empty,          // purge: nothing to read                          (label)
    PurgeFailed,    // purge: a file operation failed                  (message and label)
    Purged,         // purge: what was removed, and the new file       (label)
};

struct Notice {
    NoticeKind kind = NoticeKind::Opening;
    std::string path;    // the current file
    std::string newFile; // the new file's path (purge)
    std::string newName; // the new file's name as shown, once created
    bool created = false;
    std::int64_t pobs = 0;      // counted (Surveyed) or removed (Purged)
    std::int64_t riskTypes = 0; // counted (Surveyed) or removed (Purged)
    std::int32_t repaired = 0;  // bytes repaired so far in this survey (Repaired)
    Table table = Table::Pobs;  // Broken, Empty
    Failure failure;            // SurveyFailed, PurgeFailed
};

// Where an operation's notices go.
class OperationObserver {
public:
    virtual ~OperationObserver() = default;
    virtual void notice(const Notice& notice) = 0;
    // Asked with an Overwrite notice: true when the file may be replaced.
    virtual bool mayReplace(const Notice& notice) = 0;
};

} // namespace zembrel::xer
