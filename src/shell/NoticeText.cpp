#include "shell/NoticeText.h"

namespace zembrel {

namespace {

using xer::NoticeKind;
using xer::Table;

constexpr char kCrLf[] = "\r\n";

// Counts as digits only, without sign, blank or grouping.
std::string digits(std::int64_t n) {
    return std::to_string(n);
}

std::string surveyed(const xer::Notice& n) {
    if (n.pobs == 0 && n.riskTypes == 0)
        return "The above XER file does not contain any POBS or Risk Type records.";
    return "A total of " + digits(n.pobs) + " POBS records" + kCrLf + "and " + digits(n.riskTypes) +
           " Risk Type records" + kCrLf + "exist in this XER file." + kCrLf + kCrLf +
           "Click on the button below to create a new XER file without these unwanted entries.";
}

std::string purged(const xer::Notice& n) {
    std::string text = "Number of POBS Records Removed: " + digits(n.pobs) + "." + kCrLf +
                       "Number of Risk Types removed: " + digits(n.riskTypes) + ".";
    if (n.newFile.empty()) // nothing was to be removed: no new file was named
        return text;
    if (n.created)
        return text + kCrLf + kCrLf + "A new import file has been created called" + kCrLf +
               n.newName;
    return text + kCrLf + "ERROR: File " + n.newFile + " was not created.";
}

std::string broken(Table table) {
    return std::string("ERROR: The file is broken and should not be used.") + kCrLf +
           (table == Table::Pobs ? "POBS record corruption ruined the XER file."
                                 : "Risk Type record corruption ruined the XER file.");
}

} // namespace

NoticeText noticeText(const xer::Notice& n) {
    switch (n.kind) {
    case NoticeKind::NotSpecified: return {BoxText{"File not specified."}, std::nullopt};
    case NoticeKind::NotFound:
        return {BoxText{"ERROR! File not found.", MessageIcon::Exclamation}, std::nullopt};
    case NoticeKind::Opening: return {std::nullopt, "Opening XER file " + n.path};
    case NoticeKind::Reconditioning:
        return {std::nullopt,
                "The XER file is corrupted and needs to be reconditioned.  Please wait while "
                "this process proceeds (this can take several minutes)."};
    case NoticeKind::Repaired:
        return {BoxText{"A total of " + digits(n.repaired) +
                            " characters were corrupt and were replaced with a space.",
                        MessageIcon::Exclamation},
                std::nullopt};
    case NoticeKind::Broken:
        return {BoxText{broken(n.table), MessageIcon::Critical}, broken(n.table)};
    case NoticeKind::SurveyFailed:
        return {BoxText{errorText(n.failure), MessageIcon::Exclamation}, errorText(n.failure)};
    case NoticeKind::Surveyed: return {std::nullopt, surveyed(n)};
    case NoticeKind::Overwrite:
        return {BoxText{"A POBS-free file " + n.newFile + kCrLf +
                            "already exists.  Is it OK to overwrite?",
                        MessageIcon::Question, MessageButtons::YesNo},
                std::nullopt};
    case NoticeKind::KeptExisting:
        return {std::nullopt,
                "File " + n.path + " not read." + kCrLf + "File " + n.newFile + " already exists."};
    case NoticeKind::Empty:
        return {std::nullopt,
                n.table == Table::Pobs
                    ? "ERROR: File is empty.  No Purged POBS file was created."
                    : "ERROR: File is empty.  No Purged Risk Types file was created."};
    case NoticeKind::PurgeFailed:
        return {BoxText{errorText(n.failure) + " occured.  New file not created."},
                errorText(n.failure) + " occured.  New file not creaed."};
    case NoticeKind::Purged: return {std::nullopt, purged(n)};
    }
    return {};
}

} // namespace zembrel
