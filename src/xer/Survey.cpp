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

using namespace survey_text;
using xer::TableWalk;

constexpr char kCrLf[] = "\r\n";

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
    Surveyor(AppState& state, MainSurface& window, Platform& platform)
        : m_state(state), m_window(window), m_platform(platform) {}

    SurveyOutcome run();

private:
    SurveyOutcome survey();
    // Makes the SUB byte at offset a space, in the file, and says so.
    Status recondition(std::uint64_t offset);
    SurveyOutcome fail(const Failure& f);
    SurveyOutcome broken(const char* which);
    SurveyOutcome report();
    void message(const std::string& text, MessageIcon icon) {
        m_platform.boxes.show(text, MessageButtons::Ok, icon, kAppTitle);
    }

    AppState& m_state;
    MainSurface& m_window;
    Platform& m_platform;
    bool m_xerText = false;
    std::int32_t m_reconditioned = 0;
    std::unique_ptr<ByteFile> m_repairFile; // one handle for all repairs of a survey
};

SurveyOutcome Surveyor::run() {
    try {
        return survey();
    } catch (const std::bad_alloc&) {
        return fail(makeFailure(failure::OutOfMemory));
    }
}

SurveyOutcome Surveyor::survey() {
    m_state.TabChar = '\t';
    const std::string& path = m_state.CurrentXerPath;
    if (path.empty()) {
        message(kNotSpecified, MessageIcon::None);
        return SurveyOutcome::Refused;
    }
    if (!m_platform.files.fileExists(path)) {
        message(kNotFound, MessageIcon::Exclamation);
        return SurveyOutcome::Refused;
    }
    m_window.setResults(kOpening + path);
    auto opened = m_platform.files.openRead(path);
    if (!opened)
        return fail(opened.failure());
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
        return SurveyOutcome::Stopped;
    if (pass.broken)
        return broken(pass.broken);
    return report();
}

Status Surveyor::recondition(std::uint64_t offset) {
    // Only XER text is ever changed: in any other file the byte may be half of a character.
    if (!m_xerText)
        return makeFailure(failure::InvalidFileFormat);
    m_window.setResults(kReconditioning);
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
    if (!countOne(m_reconditioned))
        return makeFailure(failure::Overflow);
    message("A total of " + std::to_string(m_reconditioned) +
                " characters were corrupt and were replaced with a space.",
            MessageIcon::Exclamation);
    m_window.setResults(kOpening + m_state.CurrentXerPath);
    return {};
}

// The label said the work was going on ("Opening XER file", "Please wait"): it ends with
// what stopped it instead.
SurveyOutcome Surveyor::fail(const Failure& f) {
    m_repairFile.reset();
    message(errorText(f), MessageIcon::Exclamation);
    m_window.setResults(errorText(f));
    return SurveyOutcome::Failed;
}

SurveyOutcome Surveyor::broken(const char* which) {
    const std::string text = std::string(kBroken) + kCrLf + which;
    message(text, MessageIcon::Critical);
    m_window.setResults(text);
    m_window.setPurgeEnabled(false);
    return SurveyOutcome::Broken;
}

SurveyOutcome Surveyor::report() {
    const auto pobs = m_state.PobsRecordCount;
    const auto riskTypes = m_state.RiskTypeRecordCount;
    if (pobs == 0 && riskTypes == 0) {
        m_window.setPurgeEnabled(false);
        m_window.setResults(kNothingFound);
    } else {
        m_window.setPurgeEnabled(true);
        m_window.setResults("A total of " + std::to_string(pobs) + " POBS records" + kCrLf +
                            "and " + std::to_string(riskTypes) + " Risk Type records" + kCrLf +
                            "exist in this XER file." + kCrLf + kCrLf +
                            "Click on the button below to create a new XER file without these "
                            "unwanted entries.");
    }
    return SurveyOutcome::Reported;
}

} // namespace

SurveyOutcome PerformSurvey(AppState& state, MainSurface& window, Platform& platform) {
    return Surveyor(state, window, platform).run();
}

} // namespace zembrel::xer
