#include "xer/PurgePasses.h"

#include "xer/Counts.h"
#include "xer/TableWalk.h"

#include <array>
#include <limits>
#include <optional>

namespace zembrel::xer {

namespace {

using Role = TableWalk::Role;
using Keep = PieceLine::Keep;

constexpr std::string_view kRiskTypeColumn = "risk_type_id";
constexpr std::string_view kParentColumn = "parent_risk_type_id";
constexpr std::size_t kDefaultRiskTypeField = 6;

Status overflow() {
    return makeFailure(failure::Overflow);
}

// A record without the field the pass must take.
Status missingField() {
    return makeFailure(failure::InvalidCall);
}

bool insideTable(Role role) {
    return role == Role::FieldNames || role == Role::Member;
}

// The walk of a table that refers to risk types, by the rules of its own table.
struct RiskWalk {
    TableWalk walk;
    bool fallback; // without a named column the type is the fixed data field
    std::size_t column = 0;

    std::size_t field() const { return column ? column : fallback ? kDefaultRiskTypeField : 0; }
};

// The risk tables walked over the lines of the intermediate file. What a line adds counts only
// once a line follows it in that file: the file's last line refers to nothing, and which line
// is the last one written is known only when the pass ends.
class ReferenceWalk {
public:
    explicit ReferenceWalk(ReferenceCollection& c) : m_collection(c) {}

    bool idle() const {
        return !m_collection.failure ||
               (m_projrisk.walk.outside() && m_prorisk.walk.outside() && m_risktype.outside());
    }
    void prepare(PieceLine& line) const {
        if (!m_collection.failure)
            return;
        if (m_projrisk.walk.fieldNamesNext() || m_prorisk.walk.fieldNamesNext() ||
            m_risktype.fieldNamesNext())
            line.wantColumns(kRiskTypeColumn, kParentColumn);
        if (!m_projrisk.walk.outside())
            line.wantFields(m_projrisk.field());
        else if (!m_prorisk.walk.outside())
            line.wantFields(m_prorisk.field());
        else if (!m_risktype.outside())
            line.wantFields(1, m_parentColumn);
    }

    // The next line of the intermediate file.
    template <typename Line> void take(Line& line) {
        followed();
        if (!m_collection.failure)
            return;
        // Three walks over the same lines, each by its table's rules, so that a table right
        // after another is found whatever the other walks do.
        for (RiskWalk* walk : {&m_projrisk, &m_prorisk})
            step(*walk, line);
        const Role role = m_risktype.step(line);
        if (role == Role::TableLine)
            m_parentColumn = 0;
        if (!insideTable(role) || line.last())
            return;
        if (line.tag() != Tag::Record) {
            if (role == Role::FieldNames)
                m_parentColumn = line.column(kParentColumn);
        } else if (m_parentColumn && line.tabAfter(1) && line.has(m_parentColumn)) {
            m_pending[m_count++] = {Effect::Parent, line.key(1), line.key(m_parentColumn)};
        }
    }
    // Lines of the intermediate file follow the last one taken: what it added counts.
    void followed() {
        for (std::size_t i = 0; i < m_count && m_collection.failure; ++i) {
            Effect& e = m_pending[i];
            if (e.kind == Effect::Parent)
                m_collection.references.setParent(e.type, e.parent);
            else if (e.kind == Effect::Missing)
                m_collection.failure = missingField();
            else if (!m_collection.references.add(e.type))
                m_collection.failure = overflow();
        }
        m_count = 0;
    }

private:
    struct Effect {
        enum Kind : std::uint8_t { Add, Missing, Parent } kind = Add;
        IdKey type, parent;
    };

    template <typename Line> void step(RiskWalk& walk, Line& line) {
        const Role role = walk.walk.step(line);
        if (role == Role::TableLine)
            walk.column = 0;
        if (!insideTable(role) || line.last())
            return;
        if (line.tag() != Tag::Record) {
            if (role == Role::FieldNames)
                walk.column = line.column(kRiskTypeColumn);
            return;
        }
        if (!walk.field())
            return;
        // A named column may be the last one; the fixed field must have its TAB after it.
        if (walk.column ? !line.has(walk.column) : !line.tabAfter(kDefaultRiskTypeField))
            m_pending[m_count++] = {Effect::Missing, {}, {}};
        else
            m_pending[m_count++] = {Effect::Add, line.key(walk.field()), {}};
    }

    ReferenceCollection& m_collection;
    RiskWalk m_projrisk{TableWalk{"PROJRISK"}, true};
    RiskWalk m_prorisk{TableWalk{"PRORISK"}, false};
    TableWalk m_risktype{"RISKTYPE"};
    std::size_t m_parentColumn = 0;
    std::array<Effect, 3> m_pending; // one per walk
    std::size_t m_count = 0;
};

struct PobsPass : Pass {
    TableWalk walk{"POBS"};
    std::int32_t& removed;
    std::optional<ReferenceWalk> references;

    PobsPass(RunWriter& run, std::int32_t& count, ReferenceCollection* collection)
        : removed(count) {
        output = &run;
        if (collection)
            references.emplace(*collection);
    }
    bool idle() const { return walk.outside() && (!references || references->idle()); }
    std::optional<scan::Look> scanLook() const {
        if (walk.outside())
            return idle() ? std::optional(scan::Look::TableLines) : std::nullopt;
        return walk.fieldNamesNext() ? std::nullopt : std::optional(scan::Look::TableEnds);
    }
    Status skipped(std::string_view lines, std::uint64_t records) {
        if (walk.outside()) {
            if (references)
                references->followed();
            return output->addLines(lines);
        }
        return countMany(removed, records) ? Status{} : overflow();
    }
    // Lines inside the table are dropped: the rare one written after all is read again.
    void prepare(PieceLine& line) const {
        line.keep(walk.outside() ? Keep::Stream : Keep::Inspect);
        if (references)
            references->prepare(line);
    }

    template <typename Line> Status take(Line& line) {
        const Role role = walk.step(line);
        if (role == Role::TableLine)
            return {}; // left out
        // The walk stops at its ending line or at the file's last line, and keeps that line.
        if (!insideTable(role) || line.last()) {
            if (references)
                references->take(line);
            return line.write();
        }
        if (line.tag() == Tag::Record && !countOne(removed))
            return overflow();
        return {};
    }
};

// Over a file that copies itself as it is read: the copy runs to its end whatever the file
// holds, and a SUB byte ends the collection where a reading of the copy would have ended.
struct ReferencePass : Pass {
    ReferenceCollection& collection;
    ReferenceWalk references;

    explicit ReferencePass(ReferenceCollection& c) : collection(c), references(c) {}
    Status subMet(std::uint64_t) {
        references.followed();
        if (collection.failure)
            collection.failure = makeFailure(failure::InputPastEnd);
        return {};
    }
    bool idle() const { return references.idle(); }
    std::optional<scan::Look> scanLook() const {
        return idle() ? std::optional(scan::Look::TableLines) : std::nullopt;
    }
    void prepare(PieceLine& line) const { references.prepare(line); }
    template <typename Line> Status take(Line& line) {
        references.take(line);
        return {};
    }
};

struct RiskTypePass : Pass {
    TableWalk walk{"RISKTYPE"};
    const RiskTypeReferences& references;
    std::int32_t& met;
    std::int32_t& kept;
    bool keepAny = references.count() > 0;

    RiskTypePass(RunWriter& run, const RiskTypeReferences& r, std::int32_t& m, std::int32_t& k)
        : references(r), met(m), kept(k) {
        output = &run;
    }
    bool idle() const { return walk.outside(); }
    std::optional<scan::Look> scanLook() const {
        return idle() ? std::optional(scan::Look::TableLines) : std::nullopt;
    }
    Status skipped(std::string_view lines, std::uint64_t) { return output->addLines(lines); }

    void prepare(PieceLine& line) const {
        if (walk.outside()) {
            line.keep(Keep::Stream);
            return;
        }
        line.keep(keepAny ? Keep::Hold : Keep::Inspect);
        line.wantFields(1);
    }

    template <typename Line> Status take(Line& line) {
        const Role role = walk.step(line);
        if (role == Role::TableLine)
            return keepAny ? line.write() : Status{};
        if (!insideTable(role) || line.last())
            return line.write();
        if (line.tag() != Tag::Record)
            return role == Role::FieldNames && keepAny ? line.write() : Status{};
        if (!countOne(met))
            return overflow();
        if (!keepAny)
            return {};
        if (!line.tabAfter(1))
            return missingField();
        if (!references.contains(line.key(1)))
            return {};
        if (!countOne(kept))
            return overflow();
        return line.write();
    }
};

} // namespace

Outcome<PassEnd> pobsPass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                          std::int32_t& removed, ReferenceCollection* references) {
    RunWriter run(output);
    PobsPass pass(run, removed, references);
    return walkLines(input, events, pass);
}

Outcome<PassEnd> referencePass(XerLineReader& input, EventPump& events,
                               ReferenceCollection& references) {
    ReferencePass pass(references);
    return walkLines(input, events, pass);
}

Outcome<PassEnd> riskTypePass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                              const RiskTypeReferences& references, std::int32_t& met,
                              std::int32_t& kept) {
    RunWriter run(output);
    RiskTypePass pass(run, references, met, kept);
    return walkLines(input, events, pass);
}

} // namespace zembrel::xer
