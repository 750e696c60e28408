#include "xer/Survey.h"

#include "xer/XerLayout.h"
#include "xer/XerLineReader.h"

#include <limits>
#include <optional>
#include <variant>
#include <vector>

namespace zembrel {

namespace {

using namespace survey_text;

constexpr char kCrLf[] = "\r\n";

// Adds one to a 32-bit count; false on overflow.
bool countOne(std::int32_t& count) {
    if (count == std::numeric_limits<std::int32_t>::max())
        return false;
    ++count;
    return true;
}

enum class Phase { Main, InPobs, InRiskType };

// What one line does to the pass.
enum class Step { Next, Done, BrokenPobs, BrokenRiskType, Overflow };

// Everything the pass knows at the start of a line: where a repaired file is read again from.
struct Resume {
    XerLineReader::Position position;
    Phase phase = Phase::Main;
    std::int32_t pobs = 0;
    std::int32_t riskTypes = 0;
};

struct Done {};
struct Stop {};
struct BrokenIn {
    const char* which;
};
struct SubMet {
    std::uint64_t offset;
    Resume lineStart;
};
using PassResult = std::variant<Done, Stop, BrokenIn, SubMet, Failure>;

class Surveyor {
public:
    Surveyor(AppState& state, MainSurface& window, Platform& platform)
        : m_state(state), m_window(window), m_platform(platform) {}

    SurveyOutcome run();

private:
    PassResult pass(XerLineReader& reader, Resume from);
    Step step(Phase& phase, const xer::LineHead& head, bool last);
    // Replaces the SUB byte met at offset (or the file's first one) with a space; true when
    // a byte was replaced, and then from holds where the survey goes on.
    Outcome<bool> recondition(const SubMet& met, Resume& from);
    SurveyOutcome fail(const Failure& f);
    SurveyOutcome broken(const char* which);
    SurveyOutcome report();
    void message(const std::string& text, MessageIcon icon) {
        m_platform.boxes.show(text, MessageButtons::Ok, icon, kAppTitle);
    }

    AppState& m_state;
    MainSurface& m_window;
    Platform& m_platform;
    std::int32_t m_reconditioned = 0;
    std::unique_ptr<ByteFile> m_repairFile; // one handle for all repairs of a survey
    std::uint32_t m_lines = 0; // a request to stop is looked at every few hundred lines
};

SurveyOutcome Surveyor::run() {
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
    Resume from;
    // The reader stays open across a repair of the byte it stopped at: its buffer is patched
    // instead of read again.
    std::optional<XerLineReader> reader;
    std::uint64_t repairedAt = 0;
    for (;;) {
        m_window.setResults(kOpening + path);
        PassResult result;
        if (!reader) {
            auto opened = m_platform.files.openRead(path);
            if (!opened)
                return fail(opened.failure());
            reader.emplace(std::move(*opened));
            if (from.position.offset > 0) {
                if (Status s = reader->seek(from.position); !s)
                    return fail(s.failure());
            }
        } else if (Status s = reader->resume(from.position, repairedAt); !s) {
            return fail(s.failure());
        }
        result = pass(*reader, from);
        if (!std::holds_alternative<SubMet>(result))
            reader.reset(); // the file is closed here, before any message
        if (std::holds_alternative<Done>(result))
            return report();
        if (std::holds_alternative<Stop>(result))
            return SurveyOutcome::Stopped;
        if (const auto* b = std::get_if<BrokenIn>(&result))
            return broken(b->which);
        if (const auto* f = std::get_if<Failure>(&result))
            return fail(*f);
        const auto met = std::get<SubMet>(result);
        auto repaired = recondition(met, from);
        if (!repaired)
            return fail(repaired.failure());
        if (!*repaired) // nothing to repair: reading again would meet the same failure
            return fail(makeFailure(failure::InputPastEnd));
        if (from.position.offset != met.lineStart.position.offset || from.position.offset == 0)
            reader.reset(); // repaired elsewhere: read again from where from says
        repairedAt = met.offset;
        if (!countOne(m_reconditioned))
            return fail(makeFailure(failure::Overflow));
        message("A total of " + std::to_string(m_reconditioned) +
                    " characters were corrupt and were replaced with a space.",
                MessageIcon::Exclamation);
    }
}

inline Step Surveyor::step(Phase& phase, const xer::LineHead& head, bool last) {
    const xer::Tag tag = head.tag();
    switch (phase) {
    case Phase::Main:
        if (last) // the file's last line is never examined
            return Step::Done;
        if (head.isTableLine("POBS"))
            phase = Phase::InPobs;
        else if (head.isTableLine("RISKTYPE"))
            phase = Phase::InRiskType;
        return Step::Next;
    case Phase::InPobs:
        if (xer::endsTable(tag)) {
            // The ending line may open the RISKTYPE table, but is not looked at for POBS.
            phase = (!last && head.isTableLine("RISKTYPE")) ? Phase::InRiskType : Phase::Main;
            return Step::Next;
        }
        if (last)
            return Step::BrokenPobs;
        if (tag == xer::Tag::Record && !countOne(m_state.PobsRecordCount))
            return Step::Overflow;
        return Step::Next;
    case Phase::InRiskType:
        if (xer::endsTable(tag)) {
            phase = Phase::Main; // the ending line is not examined again
            return Step::Next;
        }
        if (last)
            return Step::BrokenRiskType;
        if (tag == xer::Tag::Record && !countOne(m_state.RiskTypeRecordCount))
            return Step::Overflow;
        return Step::Next;
    }
    return Step::Next;
}

PassResult Surveyor::pass(XerLineReader& reader, Resume from) {
    m_state.PobsRecordCount = from.pobs;
    m_state.RiskTypeRecordCount = from.riskTypes;
    Phase phase = from.phase;
    xer::LineHead head;
    Step result = Step::Next;
    bool stopped = false;
    const auto take = [&](const char* text, std::size_t size, const char*, bool last) {
        m_platform.events.processEvents();
        if ((++m_lines & 0xff) == 0 && m_platform.events.stopRequested()) {
            stopped = true;
            return false;
        }
        if (!last && size >= 2 && text[0] == '%' && text[1] != 'T') {
            // The bulk of a file: neither a table line nor a table's last line.
            if (phase == Phase::Main)
                return true;
            if (text[1] == 'E') {
                phase = Phase::Main;
            } else if (text[1] == 'R' &&
                       !countOne(phase == Phase::InPobs ? m_state.PobsRecordCount
                                                        : m_state.RiskTypeRecordCount)) {
                result = Step::Overflow;
                return false;
            }
            return true;
        }
        head.reset();
        head.whole(text, size);
        result = step(phase, head, last);
        return result == Step::Next;
    };
    while (!reader.atEnd()) {
        // Most lines lie inside a block; the others come one by one through readLine.
        if (reader.forLinesInBlock(take) && !reader.atEnd()) {
            m_platform.events.processEvents();
            if (m_platform.events.stopRequested())
                return Stop{};
            const Resume lineStart{reader.position(), phase, m_state.PobsRecordCount,
                                   m_state.RiskTypeRecordCount};
            head.reset();
            if (Status s = reader.readLine(head); !s) {
                if (reader.subOffset() >= 0)
                    return SubMet{static_cast<std::uint64_t>(reader.subOffset()), lineStart};
                return s.failure();
            }
            result = step(phase, head, reader.atEnd());
        }
        if (stopped)
            return Stop{};
        switch (result) {
        case Step::Next: break;
        case Step::Done: return Done{};
        case Step::BrokenPobs: return BrokenIn{kBrokenPobs};
        case Step::BrokenRiskType: return BrokenIn{kBrokenRiskType};
        case Step::Overflow: return makeFailure(failure::Overflow);
        }
    }
    return Done{};
}

Outcome<bool> Surveyor::recondition(const SubMet& met, Resume& from) {
    m_window.setResults(kReconditioning);
    m_platform.events.processEvents();
    const std::string& path = m_state.CurrentXerPath;
    if (!m_repairFile) {
        auto opened = m_platform.files.openReadWrite(path);
        if (!opened)
            return opened.failure();
        m_repairFile = std::move(*opened);
    }
    ByteFile& file = *m_repairFile;
    // The reader has read every byte before the one it stopped at, so that byte is the file's
    // first SUB byte; should the file have changed meanwhile, the first one is looked for.
    char byte = 0;
    auto got = file.readAt(met.offset, &byte, 1);
    if (!got)
        return got.failure();
    std::int64_t at = -1;
    if (*got == 1 && byte == '\x1a') {
        at = static_cast<std::int64_t>(met.offset);
        from = met.lineStart;
    } else {
        auto length = m_platform.files.fileLength(path);
        if (!length)
            return length.failure();
        std::vector<char> block(XerLineReader::kDefaultBlockSize);
        for (std::uint64_t offset = 0; offset < *length && at < 0;) {
            m_platform.events.processEvents();
            auto n = file.readAt(offset, block.data(), block.size());
            if (!n)
                return n.failure();
            if (*n == 0)
                break;
            for (std::size_t i = 0; i < *n; ++i) {
                if (block[i] == '\x1a') {
                    at = static_cast<std::int64_t>(offset + i);
                    break;
                }
            }
            offset += *n;
        }
        from = Resume{};
    }
    if (at >= 0) {
        if (Status s = file.writeAt(static_cast<std::uint64_t>(at), " ", 1); !s)
            return s.failure();
    }
    return at >= 0;
}

SurveyOutcome Surveyor::fail(const Failure& f) {
    message(errorText(f), MessageIcon::Exclamation);
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

} // namespace zembrel
