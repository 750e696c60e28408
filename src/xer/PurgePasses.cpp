#include "xer/PurgePasses.h"

#include "xer/PurgeLine.h"
#include "xer/XerLayout.h"

#include <algorithm>
#include <limits>

namespace zembrel::xer {

namespace {

constexpr std::string_view kRiskTypeColumn = "risk_type_id";
constexpr std::string_view kParentColumn = "parent_risk_type_id";
constexpr std::size_t kDefaultRiskTypeField = 6;

bool countOne(std::int32_t& count) {
    if (count == std::numeric_limits<std::int32_t>::max())
        return false;
    ++count;
    return true;
}

Status overflow() {
    return makeFailure(failure::Overflow);
}

// A record without the field the pass must take.
Status missingField() {
    return makeFailure(failure::InvalidCall);
}

// Lines that go out unchanged and end in CR LF in the input are written as one run straight
// from the reader's block, instead of line by line.
class RunWriter {
public:
    explicit RunWriter(XerLineWriter* writer) : m_writer(writer) {}

    Status add(std::string_view text, const char* end) {
        const char* lineEnd = text.data() + text.size();
        if (end - lineEnd == 2) { // CR LF, as it is to be written
            if (m_start && m_end == text.data()) {
                m_end = end;
                return {};
            }
            if (Status s = flush(); !s)
                return s;
            m_start = text.data();
            m_end = end;
            return {};
        }
        if (Status s = flush(); !s)
            return s;
        if (Status s = m_writer->write(text); !s)
            return s;
        return m_writer->endLine();
    }
    Status flush() {
        if (!m_start)
            return {};
        const std::string_view run(m_start, static_cast<std::size_t>(m_end - m_start));
        m_start = m_end = nullptr;
        return m_writer->write(run);
    }

private:
    XerLineWriter* m_writer;
    const char* m_start = nullptr;
    const char* m_end = nullptr;
};

std::size_t tabsUpTo(std::string_view text, std::size_t most) {
    std::size_t tabs = 0;
    for (std::size_t at = text.find(kTab); at != text.npos && tabs < most;
         at = text.find(kTab, at + 1))
        ++tabs;
    return tabs;
}

// A line lying whole inside the reader's block.
class WholeLine {
public:
    WholeLine(std::string_view text, const char* end, RunWriter& run)
        : m_text(text), m_end(end), m_run(run) {}

    // Cannot be a table line: the bulk of every file, settled by two bytes.
    bool plain() const { return m_text.size() >= 2 && m_text[0] == '%' && m_text[1] != 'T'; }
    Tag tag() const { return tagOf(m_text); }
    bool isTableLine(std::string_view name) const {
        return !plain() && xer::isTableLine(m_text, name);
    }
    bool has(std::size_t k) const { return tabsUpTo(m_text, k) >= k; }
    bool tabAfter(std::size_t k) const { return tabsUpTo(m_text, k + 1) > k; }
    std::string_view field(std::size_t k) const { return dataField(m_text, k); }
    std::size_t columnNamed(std::string_view name) const {
        for (std::size_t k = 1;; ++k) {
            if (!has(k))
                return 0;
            if (field(k) == name)
                return k;
        }
    }
    Status write() { return m_run.add(m_text, m_end); }

private:
    std::string_view m_text;
    const char* m_end;
    RunWriter& m_run;
};

// A line read in pieces: what the pass asked for before the read is all there is of it.
class PieceLine {
public:
    PieceLine(PurgeLine& line, XerLineReader& reader, XerLineReader::Position start)
        : m_line(line), m_reader(reader), m_start(start) {}

    bool plain() const { return !m_line.head.maybeTableLine() && tag() != Tag::Table; }
    Tag tag() const { return m_line.head.tag(); }
    bool isTableLine(std::string_view name) const { return m_line.head.isTableLine(name); }
    bool has(std::size_t k) const { return m_line.fields.has(k); }
    bool tabAfter(std::size_t k) const { return m_line.fields.tabAfter(k); }
    std::string_view field(std::size_t k) const { return m_line.fields.field(k); }
    std::size_t columnNamed(std::string_view) const { return m_line.columns.column(0); }
    Status write() { return m_line.write(m_reader, m_start); }

private:
    PurgeLine& m_line;
    XerLineReader& m_reader;
    XerLineReader::Position m_start;
};

// Where the walk of a table stands.
enum class At { Outside, FieldNames, Inside };

// Runs a pass over the whole input: lines inside a block go to pass.take as WholeLine, the
// others are read in pieces as the pass prepares them and go to pass.take as PieceLine.
template <typename Pass>
Outcome<PassEnd> drive(XerLineReader& input, EventPump& events, Pass& pass) {
    std::uint32_t lines = 0;
    Status failed;
    bool stopped = false;
    const auto take = [&](const char* text, std::size_t size, const char* end, bool last) {
        events.processEvents();
        if ((++lines & 0xff) == 0 && events.stopRequested()) {
            stopped = true;
            return false;
        }
        WholeLine line({text, size}, end, pass.run);
        failed = pass.take(line, last);
        return failed.ok();
    };
    PurgeLine pieces(pass.writer);
    while (!input.atEnd()) {
        const bool going = input.forLinesInBlock(take);
        // A run points into the block: it is written before the block is read again.
        if (Status s = pass.run.flush(); !s)
            return s.failure();
        if (stopped)
            return PassEnd::Stopped;
        if (!going)
            return failed.failure();
        if (input.atEnd())
            break;
        events.processEvents();
        if (events.stopRequested())
            return PassEnd::Stopped;
        const auto start = input.position();
        pass.prepare(pieces);
        if (Status s = input.readLine(pieces); !s)
            return s.failure();
        if (Status s = pieces.streamStatus(); !s)
            return s.failure();
        PieceLine line(pieces, input, start);
        if (Status s = pass.take(line, input.atEnd()); !s)
            return s.failure();
    }
    return PassEnd::Done;
}

struct PobsPass {
    XerLineWriter* writer;
    RunWriter run;
    std::int32_t& removed;
    At at = At::Outside;

    void prepare(PurgeLine& line) const {
        at == At::Outside ? line.beginStreamed() : line.beginHeld();
    }

    template <typename Line> Status take(Line& line, bool last) {
        if (at == At::Outside) {
            if (line.isTableLine("POBS")) {
                at = At::FieldNames; // the table line is left out
                return {};
            }
            return line.write();
        }
        if (endsTable(line.tag()) || last) {
            at = At::Outside; // the line the walk stops at is kept
            return line.write();
        }
        at = At::Inside; // left out
        if (line.tag() == Tag::Record && !countOne(removed))
            return overflow();
        return {};
    }
};

// The walk of a table that refers to risk types, by the rules of its own table.
struct RiskWalk {
    std::string_view table;
    bool fallback; // without a named column the type is the fixed data field
    At at = At::Outside;
    std::size_t column = 0;

    std::size_t field() const { return column ? column : fallback ? kDefaultRiskTypeField : 0; }
};

struct ReferencePass {
    XerLineWriter* writer = nullptr;
    RunWriter run{nullptr};
    RiskTypeReferences& references;
    // Three walks over the same lines, each by its table's rules, so that a table right after
    // another is found whatever the other walks do.
    RiskWalk projrisk{"PROJRISK", true};
    RiskWalk prorisk{"PRORISK", false};
    At risktype = At::Outside;
    std::size_t parentColumn = 0;

    RiskWalk* walking() {
        return projrisk.at != At::Outside  ? &projrisk
               : prorisk.at != At::Outside ? &prorisk
                                           : nullptr;
    }

    void prepare(PurgeLine& line) {
        line.beginInspected();
        RiskWalk* walk = walking();
        const bool fieldNames = (walk && walk->at == At::FieldNames) || risktype == At::FieldNames;
        if (walk && walk->field()) {
            line.fields.reset(walk->field());
            line.wantFields = true;
        } else if (!walk && risktype != At::Outside) {
            line.fields.reset(1, parentColumn);
            line.wantFields = true;
        }
        if (fieldNames) {
            line.columns.reset(walk ? kRiskTypeColumn : kParentColumn);
            line.wantColumns = true;
        }
    }

    template <typename Line> Status take(Line& line, bool last) {
        if (line.plain() && !walking() && risktype == At::Outside)
            return {};
        const Tag tag = line.tag();
        for (RiskWalk* walk : {&projrisk, &prorisk}) {
            if (Status s = step(*walk, line, tag, last); !s)
                return s;
        }
        if (risktype == At::Outside) {
            if (line.isTableLine("RISKTYPE")) {
                risktype = At::FieldNames;
                parentColumn = 0;
            }
        } else if (endsTable(tag) || last) {
            risktype = At::Outside;
        } else {
            if (risktype == At::FieldNames && tag != Tag::Record)
                parentColumn = line.columnNamed(kParentColumn);
            risktype = At::Inside;
            if (tag == Tag::Record && parentColumn && line.tabAfter(1) && line.has(parentColumn))
                references.setParent(line.field(1), line.field(parentColumn));
        }
        return {};
    }

    template <typename Line> Status step(RiskWalk& walk, Line& line, Tag tag, bool last) {
        if (walk.at == At::Outside) {
            if (line.isTableLine(walk.table)) {
                walk.at = At::FieldNames;
                walk.column = 0;
            }
            return {};
        }
        if (endsTable(tag) || last) {
            walk.at = At::Outside;
            return {};
        }
        if (walk.at == At::FieldNames && tag != Tag::Record)
            walk.column = line.columnNamed(kRiskTypeColumn);
        walk.at = At::Inside;
        if (tag != Tag::Record || !walk.field())
            return {};
        // A named column may be the last one; the fixed field must have its TAB after it.
        if (walk.column ? !line.has(walk.column) : !line.tabAfter(kDefaultRiskTypeField))
            return missingField();
        if (!references.add(line.field(walk.field())))
            return overflow();
        return {};
    }
};

struct RiskTypePass {
    XerLineWriter* writer;
    RunWriter run;
    const RiskTypeReferences& references;
    std::int32_t& met;
    std::int32_t& kept;
    bool keepAny = references.count() > 0;
    std::size_t longest = references.longest();
    At at = At::Outside;

    void prepare(PurgeLine& line) const {
        if (at == At::Outside) {
            line.beginStreamed();
            return;
        }
        line.beginHeld();
        line.fields.reset(1, FieldReader::kNone, longest); // a longer id matches nothing
        line.wantFields = true;
    }

    template <typename Line> Status take(Line& line, bool last) {
        if (at == At::Outside) {
            if (!line.isTableLine("RISKTYPE"))
                return line.write();
            at = At::FieldNames;
            return keepAny ? line.write() : Status{};
        }
        const Tag tag = line.tag();
        if (endsTable(tag) || last) {
            at = At::Outside;
            return line.write();
        }
        const bool fieldNames = at == At::FieldNames;
        at = At::Inside;
        if (tag != Tag::Record)
            return fieldNames && keepAny ? line.write() : Status{};
        if (!countOne(met))
            return overflow();
        if (!keepAny)
            return {};
        if (!line.tabAfter(1))
            return missingField();
        if (!references.contains(line.field(1)))
            return {};
        if (!countOne(kept))
            return overflow();
        return line.write();
    }
};

} // namespace

bool RiskTypeReferences::add(std::string_view type) {
    if (contains(type))
        return true;
    if (m_list.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    m_set.emplace(type);
    m_list.emplace_back(type);
    return true;
}

void RiskTypeReferences::setParent(std::string_view type, std::string_view parent) {
    if (!parent.empty() && m_parentOf.find(type) == m_parentOf.end())
        m_parentOf.emplace(std::string(type), std::string(parent));
}

void RiskTypeReferences::addParents() {
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        auto parent = m_parentOf.find(std::string_view(m_list[i]));
        if (parent != m_parentOf.end())
            (void)add(parent->second);
    }
}

std::size_t RiskTypeReferences::longest() const {
    std::size_t n = 0;
    for (const auto& type : m_list)
        n = std::max(n, type.size());
    return n;
}

Outcome<PassEnd> pobsPass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                          std::int32_t& removed) {
    PobsPass pass{&output, RunWriter(&output), removed};
    return drive(input, events, pass);
}

Outcome<PassEnd> referencePass(XerLineReader& input, EventPump& events,
                               RiskTypeReferences& references) {
    ReferencePass pass{.references = references};
    return drive(input, events, pass);
}

Outcome<PassEnd> riskTypePass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                              const RiskTypeReferences& references, std::int32_t& met,
                              std::int32_t& kept) {
    RiskTypePass pass{&output, RunWriter(&output), references, met, kept};
    return drive(input, events, pass);
}

} // namespace zembrel::xer
