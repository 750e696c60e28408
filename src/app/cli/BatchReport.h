#pragma once

#include "app/cli/FileList.h"
#include "xer/Notice.h"
#include "xer/Report.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zembrel {

// A message the window would have shown in a box, as the companion wrote it.
struct ShownMessage {
    xer::NoticeKind kind;
    std::optional<int> failure; // the failure's number, for a failure
    std::string text;
};

// What became of one file of a companion run: the values of its survey and purge, the
// messages on the way, and the notices that the window's label would end with.
struct FileRun {
    std::string path;
    xer::SurveyReport survey;
    std::optional<xer::PurgeReport> purge;
    std::vector<ShownMessage> messages;
    std::optional<xer::Notice> surveyLabel;
    std::optional<xer::Notice> purgeLabel;

    // How the file's work ended, in a word or two: "reported", "created", "kept existing" ...
    std::string outcome() const;
    // A report or a new copy, as the command asked.
    bool succeeded(bool purgeCommand) const;
};

// The table at the end of a run over several files: one row per file; names shown safely on a
// terminal.
void writeSummary(std::ostream& out, const std::vector<FileRun>& runs, bool purge, bool terminal);

// The whole run as one JSON document (version 1), for programs: the command, every file's
// values and messages, what a walk skipped, the exit status.
void writeJson(std::ostream& out, const std::string& command, const std::vector<FileRun>& runs,
               const std::vector<SkippedEntry>& skipped, int status);

} // namespace zembrel
