#include "app/cli/BatchReport.h"

#include "app/cli/Console.h"
#include "app/cli/JsonText.h"
#include "shell/NoticeText.h"

#include <algorithm>
#include <array>

namespace zembrel {

namespace {

using xer::PurgeOutcome;
using xer::SurveyOutcome;

const char* surveyOutcome(const xer::SurveyReport& r) {
    switch (r.outcome) {
    case SurveyOutcome::NotSpecified: return "not specified";
    case SurveyOutcome::NotFound: return "not found";
    case SurveyOutcome::Reported: return r.foundRecords() ? "reported" : "nothing found";
    case SurveyOutcome::Broken: return "broken";
    case SurveyOutcome::Failed: return "failed";
    case SurveyOutcome::Stopped: break;
    }
    return "stopped";
}

const char* purgeOutcome(PurgeOutcome outcome) {
    switch (outcome) {
    case PurgeOutcome::NotFound: return "not found";
    case PurgeOutcome::Nothing: return "nothing found";
    case PurgeOutcome::KeptExisting: return "kept existing";
    case PurgeOutcome::Empty: return "empty";
    case PurgeOutcome::Created: return "created";
    case PurgeOutcome::NotCreated: return "not created";
    case PurgeOutcome::Failed: return "failed";
    case PurgeOutcome::Stopped: break;
    }
    return "stopped";
}

const char* messageKind(xer::NoticeKind kind) {
    switch (kind) {
    case xer::NoticeKind::NotSpecified: return "not specified";
    case xer::NoticeKind::NotFound: return "not found";
    case xer::NoticeKind::Repaired: return "repaired";
    case xer::NoticeKind::Broken: return "broken";
    case xer::NoticeKind::Overwrite: return "overwrite";
    case xer::NoticeKind::SurveyFailed:
    case xer::NoticeKind::PurgeFailed: return "failed";
    default: return "notice";
    }
}

std::string sizeText(const std::optional<std::uint64_t>& size) {
    return size ? std::to_string(*size) : "-";
}

Json sizeJson(const std::optional<std::uint64_t>& size) {
    return size ? Json(*size) : Json(nullptr);
}

Json failureJson(const Failure& f) {
    return Json{{"number", f.number}, {"description", f.description}};
}

std::string labelOf(const std::optional<xer::Notice>& notice) {
    if (!notice)
        return {};
    return noticeText(*notice).label.value_or("");
}

Json fileJson(const FileRun& run) {
    Json file;
    putExact(file, "path", run.path);
    file["outcome"] = run.outcome();
    const xer::SurveyReport& s = run.survey;
    Json survey{{"outcome", surveyOutcome(s)},
                {"pobsRecords", s.pobs},
                {"riskTypeRecords", s.riskTypes},
                {"repaired", s.repaired},
                {"repairs", s.repairs}};
    survey["failure"] = s.outcome == SurveyOutcome::Failed ? failureJson(s.failure) : nullptr;
    survey["brokenIn"] = s.outcome == SurveyOutcome::Broken
                             ? Json(s.brokenIn == xer::Table::Pobs ? "POBS" : "RISKTYPE")
                             : Json(nullptr);
    file["survey"] = survey;
    if (run.purge) {
        const xer::PurgeReport& p = *run.purge;
        Json purge{{"outcome", purgeOutcome(p.outcome)},
                   {"pobsRemoved", p.pobsRemoved},
                   {"riskTypesRemoved", p.riskTypesRemoved},
                   {"riskTypesKept", p.riskTypesKept},
                   {"riskTypesReferenced", p.riskTypesReferenced}};
        purge["failure"] = p.outcome == PurgeOutcome::Failed ? failureJson(p.failure) : nullptr;
        file["purge"] = purge;
    } else {
        file["purge"] = nullptr;
    }
    file["sizeBefore"] = sizeJson(s.size);
    file["sizeAfter"] = sizeJson(run.purge ? run.purge->sizeAfter : std::nullopt);
    if (run.purge && run.purge->outcome == PurgeOutcome::Created) {
        putExact(file, "newFile", run.purge->newFile);
    } else {
        file["newFile"] = nullptr;
    }
    Json messages = Json::array();
    for (const ShownMessage& m : run.messages)
        messages.push_back({{"kind", messageKind(m.kind)},
                            {"failure", m.failure ? Json(*m.failure) : Json(nullptr)},
                            {"text", m.text}});
    file["messages"] = messages;
    std::string report = labelOf(run.surveyLabel);
    if (run.purgeLabel)
        report += '\n' + labelOf(run.purgeLabel);
    file["report"] = report;
    return file;
}

} // namespace

std::string FileRun::outcome() const {
    return purge ? purgeOutcome(purge->outcome) : surveyOutcome(survey);
}

bool FileRun::succeeded(bool purgeCommand) const {
    if (purge)
        return purge->outcome == PurgeOutcome::Created;
    if (survey.outcome != SurveyOutcome::Reported)
        return false;
    // A purge of a file with nothing to remove has nothing to do.
    return !purgeCommand || !survey.foundRecords();
}

void writeSummary(std::ostream& out, const std::vector<FileRun>& runs, bool purge, bool terminal) {
    using Row = std::array<std::string, 6>;
    std::vector<Row> rows{{"File", purge ? "POBS removed" : "POBS records",
                           purge ? "Risk types removed" : "Risk type records", "Size before",
                           "Size after", "Outcome"}};
    for (const FileRun& r : runs) {
        const bool purged = r.purge.has_value();
        rows.push_back({shownName(r.path, terminal),
                        std::to_string(purged ? r.purge->pobsRemoved : r.survey.pobs),
                        std::to_string(purged ? r.purge->riskTypesRemoved : r.survey.riskTypes),
                        sizeText(r.survey.size),
                        sizeText(purged ? r.purge->sizeAfter : std::nullopt), r.outcome()});
    }
    std::array<std::size_t, 6> width{};
    for (const Row& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    for (const Row& row : rows) {
        std::string line = row[0] + std::string(width[0] - row[0].size(), ' ');
        for (std::size_t c = 1; c < 5; ++c) // numbers line up on the right
            line += "  " + std::string(width[c] - row[c].size(), ' ') + row[c];
        out << line << "  " << row[5] << '\n';
    }
}

void writeJson(std::ostream& out, const std::string& command, const std::vector<FileRun>& runs,
               const std::vector<SkippedEntry>& skipped, int status) {
    Json files = Json::array();
    for (const FileRun& run : runs)
        files.push_back(fileJson(run));
    writeDocument(out, command, files, skipped, status);
}

} // namespace zembrel
