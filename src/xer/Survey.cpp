#include "xer/Survey.h"

#include "xer/Counts.h"
#include "xer/FileKind.h"
#include "xer/LineWalker.h"
#include "xer/TableWalk.h"

#include <functional>
#include <limits>
#include <new>

namespace zembrel::xer {

namespace {

using xer::TableWalk;

constexpr char kBrokenPobs[] = "POBS";
constexpr char kBrokenRiskType[] = "RISKTYPE";

// The survey's walk: POBS and RISKTYPE tables, the end of a POBS table may open RISKTYPE, and
// the file's last line is never examined, except to find a table that the file ends inside.
struct SurveyPass : xer::Pass {
    TableWalk walk{"POBS", "RISKTYPE"};
    AppState& state;
    std::function<Status(std::uint64_t)> repair;
    const char* broken = nullptr;

    SurveyPass(AppState& s, std::function<Status(std::uint64_t)> r)
        : state(s), repair(std::move(r)) {
        walk.mayFollow(0, 1);
    }
    bool idle() const { return walk.outside(); }
    void prepare(xer::PieceLine&) const {}
    Status subMet(std::uint64_t offset) { return repair(offset); }
    // Outside the tables only a table line matters; inside, only the records and the end.
    std::optional<xer::scan::Look> scanLook() const {
        if (walk.outside())
            return xer::scan::Look::TableLines;
        if (walk.fieldNamesNext())
            return std::nullopt;
        return xer::scan::Look::TableEnds;
    }
    Status skipped(std::string_view, std::uint64_t records) {
        if (walk.outside() || records == 0)
            return {};
        auto& count = walk.table() == 0 ? state.PobsRecordCount : state.RiskTypeRecordCount;
        return countMany(count, records) ? Status{} : makeFailure(failure::Overflow);
    }

    template <typename Line> Status take(const Line& line) {
        if (walk.outside() && line.last()) {
            done = true;
            return {};
        }
        const auto role = walk.step(line);
        if (role != TableWalk::Role::FieldNames && role != TableWalk::Role::Member)
            return {};
        const bool pobs = walk.table() == 0;
        if (line.last()) {
            broken = pobs ? kBrokenPobs : kBrokenRiskType;
            done = true;
            return {};
        }
        if (line.tag() == xer::Tag::Record &&
            !countOne(pobs ? state.PobsRecordCount : state.RiskTypeRecordCount))
            return makeFailure(failure::Overflow);
        return {};
    }
};

class Surveyor {
public:
    Surveyor(AppState& state, Platform& platform, OperationObserver& observer)
        : m_state(state), m_platform(platform), m_observer(observer) {}

    SurveyReport run();

private:
    SurveyReport survey();
    // Makes the SUB byte at offset a space, in the file, and says so.
    Status recondition(std::uint64_t offset);
    SurveyReport fail(const Failure& f);
    SurveyReport ended(SurveyOutcome outcome);
    void say(NoticeKind kind) { m_observer.notice(notice(kind)); }
    Notice notice(NoticeKind kind) const {
        Notice n;
        n.kind = kind;
        n.path = m_state.CurrentXerPath;
        n.pobs = m_state.PobsRecordCount;
        n.riskTypes = m_state.RiskTypeRecordCount;
        n.repaired = m_report.repaired;
        n.table = m_report.brokenIn;
        n.failure = m_report.failure;
        return n;
    }

    AppState& m_state;
    Platform& m_platform;
    OperationObserver& m_observer;
    SurveyReport m_report;
    bool m_xerText = false;
    std::unique_ptr<ByteFile> m_repairFile; // one handle for all repairs of a survey
};

SurveyReport Surveyor::run() {
    try {
        return survey();
    } catch (const std::bad_alloc&) {
        return fail(makeFailure(failure::OutOfMemory));
    }
}

SurveyReport Surveyor::survey() {
    m_state.TabChar = '\t';
    const std::string& path = m_state.CurrentXerPath;
    if (path.empty()) {
        say(NoticeKind::NotSpecified);
        return ended(SurveyOutcome::NotSpecified);
    }
    if (!m_platform.files.fileExists(path)) {
        say(NoticeKind::NotFound);
        return ended(SurveyOutcome::NotFound);
    }
    say(NoticeKind::Opening);
    auto opened = m_platform.files.openRead(path);
    if (!opened)
        return fail(opened.failure());
    m_report.size = (*opened)->size();
    auto kind = xer::fileKind(**opened, m_platform.blockSize);
    if (!kind)
        return fail(kind.failure());
    // Counting records in UTF-16 text would report a file full of them as holding none.
    if (*kind == xer::FileKind::Utf16)
        return fail(makeFailure(failure::InvalidFileFormat));
    m_xerText = *kind == xer::FileKind::Xer;
    m_state.PobsRecordCount = 0;
    m_state.RiskTypeRecordCount = 0;
    auto reader = std::make_unique<XerLineReader>(std::move(*opened), m_platform.blockSize);
    SurveyPass pass(m_state, [this](std::uint64_t offset) { return recondition(offset); });
    const auto end = xer::walkLines(*reader, m_platform.events, pass);
    reader.reset(); // the file is closed before any message
    m_repairFile.reset();
    if (!end)
        return fail(end.failure());
    if (*end == xer::PassEnd::Stopped)
        return ended(SurveyOutcome::Stopped);
    if (pass.broken) {
        m_report.brokenIn = pass.broken == kBrokenPobs ? Table::Pobs : Table::RiskType;
        say(NoticeKind::Broken);
        return ended(SurveyOutcome::Broken);
    }
    say(NoticeKind::Surveyed);
    return ended(SurveyOutcome::Reported);
}

Status Surveyor::recondition(std::uint64_t offset) {
    // Only XER text is ever changed: in any other file the byte may be half of a character.
    if (!m_xerText)
        return makeFailure(failure::InvalidFileFormat);
    say(NoticeKind::Reconditioning);
    m_platform.events.processEvents();
    if (!m_repairFile) {
        auto opened = m_platform.files.openReadWrite(m_state.CurrentXerPath);
        if (!opened)
            return opened.failure();
        m_repairFile = std::move(*opened);
    }
    // The reader has read every byte before this one, so it is the file's first SUB byte.
    char byte = 0;
    auto got = m_repairFile->readAt(offset, &byte, 1);
    if (!got)
        return got.failure();
    if (*got != 1 || byte != '\x1a') // the file changed while it was read
        return makeFailure(failure::PathFileAccessError);
    if (Status s = m_repairFile->writeAt(offset, " ", 1); !s)
        return s;
    if (!countOne(m_report.repaired))
        return makeFailure(failure::Overflow);
    if (m_report.repairs.size() < SurveyReport::kRepairsListed)
        m_report.repairs.push_back(offset);
    say(NoticeKind::Repaired);
    say(NoticeKind::Opening);
    return {};
}

// The label said the work was going on ("Opening XER file", "Please wait"): it ends with
// what stopped it instead.
SurveyReport Surveyor::fail(const Failure& f) {
    m_repairFile.reset();
    m_report.failure = f;
    say(NoticeKind::SurveyFailed);
    return ended(SurveyOutcome::Failed);
}

SurveyReport Surveyor::ended(SurveyOutcome outcome) {
    m_report.outcome = outcome;
    m_report.pobs = m_state.PobsRecordCount;
    m_report.riskTypes = m_state.RiskTypeRecordCount;
    return m_report;
}

} // namespace

SurveyReport PerformSurvey(AppState& state, Platform& platform, OperationObserver& observer) {
    return Surveyor(state, platform, observer).run();
}

} // namespace zembrel::xer
