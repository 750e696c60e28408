#include "xer/Purge.h"

#include "platform/PathSeparator.h"
#include "xer/PurgePasses.h"
#include "xer/XerLayout.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <limits>
#include <optional>

namespace zembrel {

namespace {

constexpr char kCrLf[] = "\r\n";
#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// "-POBS" goes before the last four characters, but never into the folder part: a name shorter
// than four characters gets it in front.
std::string withPobs(const std::string& path) {
    const auto slash = path.find_last_of(kSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t at = path.size() >= nameStart + 4 ? path.size() - 4 : nameStart;
    return path.substr(0, at) + "-POBS" + path.substr(at);
}

std::string folderPart(const std::string& path) {
    const auto slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool samePath(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return a.size() == b.size() && upperCaseAscii(a) == upperCaseAscii(b);
#else
    return a == b;
#endif
}

class Purger {
public:
    Purger(AppState& state, MainSurface& window, Platform& platform, PromptPlayer& prompts)
        : m_state(state), m_window(window), m_platform(platform), m_prompts(prompts) {}

    PurgeOutcome run();

private:
    PurgeOutcome write();
    PurgeOutcome filterRiskTypes(const std::string& intermediate);
    Outcome<std::string> chooseIntermediate(const std::string& folder);
    Outcome<std::unique_ptr<XerLineWriter>> createPartial();
    Outcome<std::unique_ptr<XerLineReader>> openInput(const std::string& path);
    template <typename RunPass>
    Outcome<xer::PassEnd> passInto(XerLineReader& input, const std::string& to, RunPass run);
    void removePartials();
    // How the command ends after a pass: not at all when the pass ran through.
    std::optional<PurgeOutcome> endAfter(const Outcome<xer::PassEnd>& end);
    PurgeOutcome failed(const Failure& f);
    PurgeOutcome empty(const char* text);
    void finish();

    AppState& m_state;
    MainSurface& m_window;
    Platform& m_platform;
    PromptPlayer& m_prompts;
    std::string m_newName;
    std::vector<std::string> m_partials; // files of ours that must not outlive a failure
    std::int32_t m_kept = 0;
};

PurgeOutcome Purger::run() {
    m_prompts.play(prompt::PurgeStarted);
    m_window.setPurgeEnabled(false);
    m_window.setDoneEnabled(false);
    m_window.setPurgeCaption("working...");
    const PurgeOutcome outcome = write();
    removePartials();
    finish();
    return outcome;
}

void Purger::finish() {
    m_window.setPurgeCaption("Purge");
    m_window.setDoneEnabled(true);
    m_platform.pointer.setBusy(false);
}

void Purger::removePartials() {
    for (const auto& path : m_partials)
        (void)m_platform.files.remove(path);
    m_partials.clear();
}

std::optional<PurgeOutcome> Purger::endAfter(const Outcome<xer::PassEnd>& end) {
    if (!end)
        return failed(end.failure());
    if (*end == xer::PassEnd::Stopped)
        return PurgeOutcome::Stopped;
    return std::nullopt;
}

PurgeOutcome Purger::failed(const Failure& f) {
    m_platform.boxes.show(errorText(f) + " occured.  New file not created.", MessageButtons::Ok,
                          MessageIcon::None, kAppTitle);
    m_window.setResults(errorText(f) + " occured.  New file not creaed.");
    return PurgeOutcome::Failed;
}

PurgeOutcome Purger::empty(const char* text) {
    m_window.setResults(text);
    return PurgeOutcome::Refused;
}

Outcome<std::unique_ptr<XerLineWriter>> Purger::createPartial() {
    // Written beside the new file under a name of its own, then renamed into place when whole.
    for (int n = 1; n < 1000; ++n) {
        const std::string name = m_newName + ".partial" + (n > 1 ? std::to_string(n) : "");
        auto created = m_platform.files.createNew(name);
        if (created) {
            m_partials.push_back(name);
            return std::make_unique<XerLineWriter>(std::move(*created));
        }
        if (created.failure().number != failure::FileAlreadyExists)
            return created.failure();
    }
    return makeFailure(failure::FileAlreadyExists);
}

// Opens a pass's input and lets the window process its events.
Outcome<std::unique_ptr<XerLineReader>> Purger::openInput(const std::string& path) {
    auto opened = m_platform.files.openRead(path);
    if (!opened)
        return opened.failure();
    auto reader = std::make_unique<XerLineReader>(std::move(*opened));
    m_platform.events.processEvents();
    return reader;
}

// Runs a pass from one file into a partial file, and renames that into place when whole.
template <typename RunPass>
Outcome<xer::PassEnd> Purger::passInto(XerLineReader& input, const std::string& to, RunPass run) {
    auto output = createPartial();
    if (!output)
        return output.failure();
    auto end = run(input, **output);
    if (!end || *end == xer::PassEnd::Stopped)
        return end;
    if (Status s = (*output)->close(); !s)
        return s.failure();
    if (Status s = m_platform.files.rename(m_partials.back(), to); !s)
        return s.failure();
    m_partials.pop_back();
    return end;
}

// The reference pass over the intermediate file, then the RISKTYPE pass from it into the new
// file. Created means both ran to their end.
PurgeOutcome Purger::filterRiskTypes(const std::string& intermediate) {
    m_state.RiskTypeRecordCount = 0;
    m_state.ReferencedRiskTypes.clear();
    m_state.ReferencedRiskTypeCount = 0;
    xer::RiskTypeReferences references(m_state.ReferencedRiskTypes);
    {
        auto input = openInput(intermediate);
        if (!input)
            return failed(input.failure());
        if (m_platform.events.stopRequested())
            return PurgeOutcome::Stopped;
        if ((*input)->atEnd())
            return empty("ERROR: File is empty.  No Purged Risk Types file was created.");
        auto end = xer::referencePass(**input, m_platform.events, references);
        if (auto ending = endAfter(end))
            return *ending;
    }
    references.addParents();
    m_state.ReferencedRiskTypeCount = static_cast<std::int32_t>(references.count());
    auto input = openInput(intermediate);
    if (!input)
        return failed(input.failure());
    auto end = passInto(**input, m_newName, [&](XerLineReader& in, XerLineWriter& out) {
        return xer::riskTypePass(in, out, m_platform.events, references,
                                 m_state.RiskTypeRecordCount, m_kept);
    });
    return endAfter(end).value_or(PurgeOutcome::Created);
}

// "Temp.TXT" in the folder, unless a file of that name is not an XER file of ours to replace:
// then the first free "Temp-N.TXT".
Outcome<std::string> Purger::chooseIntermediate(const std::string& folder) {
    for (int n = 1; n < 10000; ++n) {
        const std::string name = folder + (n == 1 ? "Temp" : "Temp-" + std::to_string(n)) + ".TXT";
        if (samePath(name, m_state.CurrentXerPath) || samePath(name, m_newName))
            continue;
        if (m_platform.files.folderExists(name))
            continue;
        if (!m_platform.files.fileExists(name))
            return name;
        auto opened = m_platform.files.openRead(name);
        if (!opened)
            continue;
        char head[6] = {};
        std::size_t got = 0;
        while (got < sizeof head) {
            auto r = (*opened)->read(head + got, sizeof head - got);
            if (!r || *r == 0)
                break;
            got += *r;
        }
        if (got == sizeof head && std::string_view(head, sizeof head) == "ERMHDR")
            return name;
    }
    return makeFailure(failure::FileAlreadyExists);
}

PurgeOutcome Purger::write() {
    const std::string current = m_state.CurrentXerPath;
    if (!m_platform.files.fileExists(current)) {
        m_platform.boxes.show("ERROR! File not found.", MessageButtons::Ok,
                              MessageIcon::Exclamation, kAppTitle);
        return PurgeOutcome::Refused;
    }
    if (std::int64_t{m_state.PobsRecordCount} + m_state.RiskTypeRecordCount <= 0) {
        m_window.setResults("Number of POBS Records Removed: 0." + std::string(kCrLf) +
                            "Number of Risk Types removed: 0.");
        return PurgeOutcome::Refused;
    }
    m_newName = withPobs(current);
    if (m_platform.files.fileExists(m_newName)) {
        const auto answer = m_platform.boxes.show(
            "A POBS-free file " + m_newName + kCrLf + "already exists.  Is it OK to overwrite?",
            MessageButtons::YesNo, MessageIcon::Question, kAppTitle);
        if (answer != MessageAnswer::Yes) {
            m_window.setResults("File " + current + " not read." + kCrLf + "File " + m_newName +
                                " already exists.");
            return PurgeOutcome::Declined;
        }
    }
    m_platform.pointer.setBusy(true);
    m_kept = 0;
    const bool riskTypes = m_state.RiskTypeRecordCount > 0;
    // Without the risk-type passes the first output is the new file itself.
    std::string firstOutput = m_newName;
    std::string intermediate;
    if (riskTypes) {
        auto chosen = chooseIntermediate(folderPart(m_newName));
        if (!chosen)
            return failed(chosen.failure());
        intermediate = *chosen;
        firstOutput = intermediate;
    }
    if (m_state.PobsRecordCount > 0) {
        auto input = openInput(current);
        if (!input)
            return failed(input.failure());
        if (m_platform.events.stopRequested())
            return PurgeOutcome::Stopped;
        if ((*input)->atEnd())
            return empty("ERROR: File is empty.  No Purged POBS file was created.");
        m_state.PobsRecordCount = 0;
        auto end = passInto(**input, firstOutput, [&](XerLineReader& in, XerLineWriter& out) {
            return xer::pobsPass(in, out, m_platform.events, m_state.PobsRecordCount);
        });
        if (auto ending = endAfter(end))
            return *ending;
    } else {
        auto partial = createPartial();
        if (!partial)
            return failed(partial.failure());
        if (Status s = (*partial)->close(); !s)
            return failed(s.failure());
        if (Status s = m_platform.files.copy(current, m_partials.back()); !s)
            return failed(s.failure());
        if (Status s = m_platform.files.rename(m_partials.back(), firstOutput); !s)
            return failed(s.failure());
        m_partials.pop_back();
    }
    if (riskTypes) {
        if (const PurgeOutcome o = filterRiskTypes(intermediate); o != PurgeOutcome::Created)
            return o;
    }
    std::string report =
        "Number of POBS Records Removed: " + std::to_string(m_state.PobsRecordCount) + "." + kCrLf +
        "Number of Risk Types removed: " + std::to_string(m_state.RiskTypeRecordCount - m_kept) +
        ".";
    PurgeOutcome outcome = PurgeOutcome::Failed;
    if (m_platform.files.fileExists(m_newName)) {
        m_state.CurrentXerPath = m_newName;
        m_state.CurrentXerName = withPobs(m_state.CurrentXerName);
        m_window.setFileName(m_state.CurrentXerName);
        report += std::string(kCrLf) + kCrLf + "A new import file has been created called" + kCrLf +
                  m_state.CurrentXerName;
        outcome = PurgeOutcome::Created;
    } else {
        report += std::string(kCrLf) + "ERROR: File " + m_newName + " was not created.";
    }
    m_window.setResults(report);
    m_prompts.play(prompt::XerCreated);
    return outcome;
}

} // namespace

PurgeOutcome Purge(AppState& state, MainSurface& window, Platform& platform,
                   PromptPlayer& prompts) {
    return Purger(state, window, platform, prompts).run();
}

} // namespace zembrel
