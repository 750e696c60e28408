#include "xer/Purge.h"

#include "xer/PurgeLine.h"
#include "xer/XerLayout.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace zembrel {

namespace {

constexpr char kCrLf[] = "\r\n";
#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

constexpr std::string_view kRiskTypeColumn = "risk_type_id";
constexpr std::string_view kParentColumn = "parent_risk_type_id";
constexpr std::size_t kDefaultRiskTypeField = 6;

bool countOne(std::int32_t& count) {
    if (count == std::numeric_limits<std::int32_t>::max())
        return false;
    ++count;
    return true;
}

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
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
        if (up(a[i]) != up(b[i]))
            return false;
    }
    return true;
#else
    return a == b;
#endif
}

enum class PassEnd { Done, Empty, Stopped };

// A table looked for by one pass and where the walk of it stands.
struct TableWalk {
    enum class At { Outside, FieldNames, Inside };
    std::string_view table;
    At at = At::Outside;

    bool walking() const { return at != At::Outside; }
};

// The referenced risk types: the list in the order first met, with a set for the look-ups.
struct References {
    std::vector<std::string>& list;
    std::unordered_set<std::string> set;
    std::unordered_map<std::string, std::string> parentOf;

    bool add(const std::string& type) {
        if (!set.insert(type).second)
            return true;
        list.push_back(type);
        return list.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    }
};

class Purger {
public:
    Purger(AppState& state, MainSurface& window, Platform& platform, PromptPlayer& prompts)
        : m_state(state), m_window(window), m_platform(platform), m_prompts(prompts) {}

    PurgeOutcome run();

private:
    PurgeOutcome write();
    Outcome<PassEnd> pobsPass(const std::string& from, const std::string& to);
    Outcome<PassEnd> referencePass(const std::string& from);
    Outcome<PassEnd> riskTypePass(const std::string& from, const std::string& to);
    Outcome<std::string> chooseIntermediate(const std::string& folder);
    Outcome<std::unique_ptr<XerLineWriter>> createPartial();
    Outcome<std::unique_ptr<XerLineReader>> openInput(const std::string& path);
    bool yield();
    void keepParents();
    void removePartials();
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
    std::optional<References> m_refs;
};

bool Purger::yield() {
    m_platform.events.processEvents();
    return !m_platform.events.stopRequested();
}

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

Outcome<std::unique_ptr<XerLineReader>> Purger::openInput(const std::string& path) {
    auto opened = m_platform.files.openRead(path);
    if (!opened)
        return opened.failure();
    return std::make_unique<XerLineReader>(std::move(*opened));
}

// Reads one line into the sink, turning a SUB byte into the failure it is here.
Status readInto(XerLineReader& reader, xer::PurgeLine& line) {
    if (Status s = reader.readLine(line); !s)
        return s;
    return line.streamStatus();
}

Outcome<PassEnd> Purger::pobsPass(const std::string& from, const std::string& to) {
    auto input = openInput(from);
    if (!input)
        return input.failure();
    XerLineReader& reader = **input;
    if (!yield())
        return PassEnd::Stopped;
    if (reader.atEnd())
        return PassEnd::Empty;
    auto output = createPartial();
    if (!output)
        return output.failure();
    XerLineWriter& writer = **output;
    m_state.PobsRecordCount = 0;
    TableWalk pobs{"POBS"};
    xer::PurgeLine line(&writer);
    while (!reader.atEnd()) {
        if (!yield())
            return PassEnd::Stopped;
        const auto start = reader.position();
        pobs.walking() ? line.beginHeld() : line.beginStreamed();
        if (Status s = readInto(reader, line); !s)
            return s.failure();
        const bool last = reader.atEnd();
        const xer::Tag tag = line.head.tag();
        if (!pobs.walking()) {
            if (line.head.isTableLine(pobs.table)) {
                pobs.at = TableWalk::At::FieldNames; // the table line is left out
            } else if (Status s = line.write(reader, start); !s) {
                return s.failure();
            }
        } else if (xer::endsTable(tag) || last) {
            pobs.at = TableWalk::At::Outside; // the line the walk stops at is kept
            if (Status s = line.write(reader, start); !s)
                return s.failure();
        } else {
            pobs.at = TableWalk::At::Inside;
            if (tag == xer::Tag::Record && !countOne(m_state.PobsRecordCount))
                return makeFailure(failure::Overflow);
        }
    }
    if (Status s = writer.close(); !s)
        return s.failure();
    if (Status s = m_platform.files.rename(m_partials.back(), to); !s)
        return s.failure();
    m_partials.pop_back();
    return PassEnd::Done;
}

Outcome<PassEnd> Purger::referencePass(const std::string& from) {
    auto input = openInput(from);
    if (!input)
        return input.failure();
    XerLineReader& reader = **input;
    if (!yield())
        return PassEnd::Stopped;
    if (reader.atEnd())
        return PassEnd::Empty;
    // Three independent walks over the same lines, each by the rules of its own table, so that
    // one table directly after another is found whatever the others do.
    struct RiskWalk : TableWalk {
        std::size_t column = 0; // found by name; 0 while the field-names line names none
        bool fallback = false;  // take the fixed field when no column is named
    };
    RiskWalk projrisk;
    projrisk.table = "PROJRISK";
    projrisk.fallback = true;
    RiskWalk prorisk;
    prorisk.table = "PRORISK";
    TableWalk risktype{"RISKTYPE"};
    std::size_t parentColumn = 0;
    RiskWalk* const riskWalks[] = {&projrisk, &prorisk};
    xer::PurgeLine line(nullptr);
    while (!reader.atEnd()) {
        if (!yield())
            return PassEnd::Stopped;
        line.beginInspected();
        RiskWalk* walking = projrisk.walking() ? &projrisk : prorisk.walking() ? &prorisk : nullptr;
        const bool atFieldNames =
            (walking && walking->at == TableWalk::At::FieldNames) ||
            risktype.at == TableWalk::At::FieldNames;
        if (walking) {
            const std::size_t k = walking->column ? walking->column
                                  : walking->fallback ? kDefaultRiskTypeField
                                                      : 0;
            line.fields.reset(k);
            line.wantFields = k != 0;
        } else if (risktype.walking() && (parentColumn || atFieldNames)) {
            line.fields.reset(1, parentColumn);
            line.wantFields = true;
        }
        if (atFieldNames) {
            line.columns.reset(walking ? kRiskTypeColumn : kParentColumn);
            line.wantColumns = true;
        }
        if (Status s = reader.readLine(line); !s)
            return s.failure();
        if (atFieldNames)
            line.columns.finish();
        const bool last = reader.atEnd();
        const xer::Tag tag = line.head.tag();

        for (RiskWalk* walk : riskWalks) {
            if (!walk->walking()) {
                if (line.head.isTableLine(walk->table)) {
                    walk->at = TableWalk::At::FieldNames;
                    walk->column = 0;
                }
                continue;
            }
            if (xer::endsTable(tag) || last) {
                walk->at = TableWalk::At::Outside;
                continue;
            }
            if (walk->at == TableWalk::At::FieldNames && tag != xer::Tag::Record)
                walk->column = line.columns.column(0);
            walk->at = TableWalk::At::Inside;
            if (tag != xer::Tag::Record)
                continue;
            if (walk->column ? !line.fields.has(walk->column)
                             : walk->fallback && !line.fields.tabAfter(kDefaultRiskTypeField))
                return makeFailure(failure::InvalidCall); // the record lacks its risk type
            const std::size_t k = walk->column ? walk->column : kDefaultRiskTypeField;
            if ((walk->column || walk->fallback) && !m_refs->add(line.fields.field(k)))
                return makeFailure(failure::Overflow);
        }

        if (!risktype.walking()) {
            if (line.head.isTableLine(risktype.table)) {
                risktype.at = TableWalk::At::FieldNames;
                parentColumn = 0;
            }
        } else if (xer::endsTable(tag) || last) {
            risktype.at = TableWalk::At::Outside;
        } else {
            if (risktype.at == TableWalk::At::FieldNames && tag != xer::Tag::Record)
                parentColumn = line.columns.column(0);
            risktype.at = TableWalk::At::Inside;
            if (tag == xer::Tag::Record && parentColumn && line.fields.tabAfter(1) &&
                line.fields.has(parentColumn) && !line.fields.field(parentColumn).empty())
                m_refs->parentOf.emplace(line.fields.field(1), line.fields.field(parentColumn));
        }
    }
    return PassEnd::Done;
}

// A kept risk type keeps its parents, so that no kept category points at a removed one.
void Purger::keepParents() {
    auto& refs = *m_refs;
    for (std::size_t i = 0; i < refs.list.size(); ++i) {
        auto parent = refs.parentOf.find(refs.list[i]);
        if (parent != refs.parentOf.end())
            refs.add(parent->second); // already kept types stop the climb: cycles end too
    }
    m_state.ReferencedRiskTypeCount = static_cast<std::int32_t>(refs.list.size());
}

Outcome<PassEnd> Purger::riskTypePass(const std::string& from, const std::string& to) {
    auto input = openInput(from);
    if (!input)
        return input.failure();
    XerLineReader& reader = **input;
    m_platform.events.processEvents();
    auto output = createPartial();
    if (!output)
        return output.failure();
    XerLineWriter& writer = **output;
    const bool keepAny = m_state.ReferencedRiskTypeCount > 0;
    std::size_t longestKept = 0;
    for (const auto& type : m_refs->list)
        longestKept = std::max(longestKept, type.size());
    TableWalk risktype{"RISKTYPE"};
    xer::PurgeLine line(&writer);
    while (!reader.atEnd()) {
        if (!yield())
            return PassEnd::Stopped;
        const auto start = reader.position();
        if (risktype.walking()) {
            line.beginHeld();
            line.fields.reset(1, xer::FieldReader::kNone, longestKept);
            line.wantFields = true;
        } else {
            line.beginStreamed();
        }
        if (Status s = readInto(reader, line); !s)
            return s.failure();
        const bool last = reader.atEnd();
        const xer::Tag tag = line.head.tag();
        bool keep = true;
        if (!risktype.walking()) {
            if (line.head.isTableLine(risktype.table)) {
                risktype.at = TableWalk::At::FieldNames;
                keep = keepAny;
            }
        } else if (xer::endsTable(tag) || last) {
            risktype.at = TableWalk::At::Outside;
        } else {
            const bool fieldNames = risktype.at == TableWalk::At::FieldNames;
            risktype.at = TableWalk::At::Inside;
            if (tag == xer::Tag::Record) {
                if (!countOne(m_state.RiskTypeRecordCount))
                    return makeFailure(failure::Overflow);
                keep = false;
                if (keepAny) {
                    if (!line.fields.tabAfter(1))
                        return makeFailure(failure::InvalidCall); // no TAB after the id
                    keep = m_refs->set.count(line.fields.field(1)) > 0;
                    if (keep && !countOne(m_kept))
                        return makeFailure(failure::Overflow);
                }
            } else {
                keep = fieldNames && keepAny;
            }
        }
        if (keep) {
            if (Status s = line.write(reader, start); !s)
                return s.failure();
        }
    }
    if (Status s = writer.close(); !s)
        return s.failure();
    if (Status s = m_platform.files.rename(m_partials.back(), to); !s)
        return s.failure();
    m_partials.pop_back();
    return PassEnd::Done;
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
        const auto answer = m_platform.boxes.show("A POBS-free file " + m_newName + kCrLf +
                                                      "already exists.  Is it OK to overwrite?",
                                                  MessageButtons::YesNo, MessageIcon::Question,
                                                  kAppTitle);
        if (answer != MessageAnswer::Yes) {
            m_window.setResults("File " + current + " not read." + kCrLf + "File " + m_newName +
                                " already exists.");
            return PurgeOutcome::Declined;
        }
    }
    m_platform.pointer.setBusy(true);
    m_kept = 0;
    const bool filterRiskTypes = m_state.RiskTypeRecordCount > 0;
    // Without the risk-type passes the first output is the new file itself.
    std::string firstOutput = m_newName;
    std::string intermediate;
    if (filterRiskTypes) {
        auto chosen = chooseIntermediate(folderPart(m_newName));
        if (!chosen)
            return failed(chosen.failure());
        intermediate = *chosen;
        firstOutput = intermediate;
    }
    if (m_state.PobsRecordCount > 0) {
        auto end = pobsPass(current, firstOutput);
        if (!end)
            return failed(end.failure());
        if (*end == PassEnd::Stopped)
            return PurgeOutcome::Stopped;
        if (*end == PassEnd::Empty)
            return empty("ERROR: File is empty.  No Purged POBS file was created.");
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
    if (filterRiskTypes) {
        m_state.RiskTypeRecordCount = 0;
        m_state.ReferencedRiskTypes.clear();
        m_state.ReferencedRiskTypeCount = 0;
        m_refs.emplace(References{m_state.ReferencedRiskTypes, {}, {}});
        auto end = referencePass(intermediate);
        if (!end)
            return failed(end.failure());
        if (*end == PassEnd::Stopped)
            return PurgeOutcome::Stopped;
        if (*end == PassEnd::Empty)
            return empty("ERROR: File is empty.  No Purged Risk Types file was created.");
        keepParents();
        end = riskTypePass(intermediate, m_newName);
        if (!end)
            return failed(end.failure());
        if (*end == PassEnd::Stopped)
            return PurgeOutcome::Stopped;
    }
    std::string report = "Number of POBS Records Removed: " +
                         std::to_string(m_state.PobsRecordCount) + "." + kCrLf +
                         "Number of Risk Types removed: " +
                         std::to_string(m_state.RiskTypeRecordCount - m_kept) + ".";
    PurgeOutcome outcome = PurgeOutcome::Failed;
    if (m_platform.files.fileExists(m_newName)) {
        m_state.CurrentXerPath = m_newName;
        m_state.CurrentXerName = withPobs(m_state.CurrentXerName);
        m_window.setFileName(m_state.CurrentXerName);
        report += std::string(kCrLf) + kCrLf + "A new import file has been created called" +
                  kCrLf + m_state.CurrentXerName;
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
