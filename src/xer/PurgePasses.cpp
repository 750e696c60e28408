#include "xer/PurgePasses.h"

#include "xer/Counts.h"
#include "xer/TableWalk.h"

#include <limits>

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

struct PobsPass : Pass {
    TableWalk walk{"POBS"};
    std::int32_t& removed;

    PobsPass(RunWriter& run, std::int32_t& count) : removed(count) { output = &run; }
    bool idle() const { return walk.outside(); }
    std::optional<scan::Look> scanLook() const {
        if (walk.outside())
            return scan::Look::TableLines;
        return walk.fieldNamesNext() ? std::nullopt : std::optional(scan::Look::TableEnds);
    }
    Status skipped(std::string_view lines, std::uint64_t records) {
        if (walk.outside())
            return output->addLines(lines);
        return countMany(removed, records) ? Status{} : overflow();
    }
    // Lines inside the table are dropped: the rare one written after all is read again.
    void prepare(PieceLine& line) const {
        line.keep(walk.outside() ? Keep::Stream : Keep::Inspect);
    }

    template <typename Line> Status take(Line& line) {
        const Role role = walk.step(line);
        if (role == Role::TableLine)
            return {}; // left out
        // The walk stops at its ending line or at the file's last line, and keeps that line.
        if (!insideTable(role) || line.last())
            return line.write();
        if (line.tag() == Tag::Record && !countOne(removed))
            return overflow();
        return {};
    }
};

// The walk of a table that refers to risk types, by the rules of its own table.
struct RiskWalk {
    TableWalk walk;
    bool fallback; // without a named column the type is the fixed data field
    std::size_t column = 0;

    std::size_t field() const { return column ? column : fallback ? kDefaultRiskTypeField : 0; }

    template <typename Line> Status step(Line& line, RiskTypeReferences& references) {
        const Role role = walk.step(line);
        if (role == Role::TableLine)
            column = 0;
        if (!insideTable(role) || line.last())
            return {};
        if (line.tag() != Tag::Record) {
            if (role == Role::FieldNames)
                column = line.column(kRiskTypeColumn);
            return {};
        }
        if (!field())
            return {};
        // A named column may be the last one; the fixed field must have its TAB after it.
        if (column ? !line.has(column) : !line.tabAfter(kDefaultRiskTypeField))
            return missingField();
        return references.add(line.key(field())) ? Status{} : overflow();
    }
};

struct ReferencePass : Pass {
    RiskTypeReferences& references;
    // Three walks over the same lines, each by its table's rules, so that a table right after
    // another is found whatever the other walks do.
    RiskWalk projrisk{TableWalk{"PROJRISK"}, true};
    RiskWalk prorisk{TableWalk{"PRORISK"}, false};
    TableWalk risktype{"RISKTYPE"};
    std::size_t parentColumn = 0;

    explicit ReferencePass(RiskTypeReferences& r) : references(r) {}
    bool idle() const {
        return projrisk.walk.outside() && prorisk.walk.outside() && risktype.outside();
    }
    std::optional<scan::Look> scanLook() const {
        return idle() ? std::optional(scan::Look::TableLines) : std::nullopt;
    }

    void prepare(PieceLine& line) const {
        if (projrisk.walk.fieldNamesNext() || prorisk.walk.fieldNamesNext() ||
            risktype.fieldNamesNext())
            line.wantColumns(kRiskTypeColumn, kParentColumn);
        if (!projrisk.walk.outside())
            line.wantFields(projrisk.field());
        else if (!prorisk.walk.outside())
            line.wantFields(prorisk.field());
        else if (!risktype.outside())
            line.wantFields(1, parentColumn);
    }

    template <typename Line> Status take(Line& line) {
        for (RiskWalk* walk : {&projrisk, &prorisk}) {
            if (Status s = walk->step(line, references); !s)
                return s;
        }
        const Role role = risktype.step(line);
        if (role == Role::TableLine)
            parentColumn = 0;
        if (!insideTable(role) || line.last())
            return {};
        if (line.tag() != Tag::Record) {
            if (role == Role::FieldNames)
                parentColumn = line.column(kParentColumn);
        } else if (parentColumn && line.tabAfter(1) && line.has(parentColumn)) {
            references.setParent(line.key(1), line.key(parentColumn));
        }
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
                          std::int32_t& removed) {
    RunWriter run(output);
    PobsPass pass(run, removed);
    return walkLines(input, events, pass);
}

Outcome<PassEnd> referencePass(XerLineReader& input, EventPump& events,
                               RiskTypeReferences& references) {
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
