#include "app/cli/TableList.h"

#include "app/cli/Console.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace zembrel {

namespace {

using xer::TablesOutcome;
using xer::TableTally;

// Percent of the file, to one decimal.
double share(std::uint64_t bytes, const std::optional<std::uint64_t>& size) {
    if (!size || *size == 0)
        return 0;
    return std::round(static_cast<double>(bytes) * 1000 / static_cast<double>(*size)) / 10;
}

std::string shareText(double percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", percent);
    return text;
}

struct Row {
    std::string name, records;
    std::uint64_t bytes;
};

std::string nameShown(const TableTally& t, bool terminal) {
    std::string shown = shownName(t.name, terminal);
    if (t.nameLength > t.name.size()) // cut for memory's sake: say so
        shown += "... (" + std::to_string(t.nameLength) + " bytes)";
    return shown;
}

Json tallyJson(const TableTally& t, const std::optional<std::uint64_t>& size) {
    Json entry;
    putExact(entry, "name", t.name);
    if (t.nameLength > t.name.size())
        entry["nameLength"] = t.nameLength;
    entry["occurrences"] = t.tables;
    entry["records"] = t.records;
    entry["bytes"] = t.bytes;
    entry["share"] = share(t.bytes, size);
    return entry;
}

const char* outcomeText(TablesOutcome outcome) {
    switch (outcome) {
    case TablesOutcome::Reported: return "reported";
    case TablesOutcome::Failed: return "failed";
    case TablesOutcome::Stopped: break;
    }
    return "stopped";
}

} // namespace

Json tablesJson(const TablesRun& run) {
    const xer::TablesReport& r = run.report;
    Json file;
    putExact(file, "path", run.path);
    file["outcome"] = outcomeText(r.outcome);
    file["size"] = r.size ? Json(*r.size) : Json(nullptr);
    const bool read = r.outcome == TablesOutcome::Reported;
    Json tables = Json::array();
    for (const TableTally& t : r.tables)
        tables.push_back(tallyJson(t, r.size));
    file["tables"] = tables;
    file["otherTables"] = nullptr;
    if (r.other.tables > 0) {
        Json other = tallyJson(r.other, r.size);
        other.erase("name");
        other.erase("nameLength");
        file["otherTables"] = other;
    }
    file["outsideTables"] =
        read ? Json{{"bytes", r.outside}, {"share", share(r.outside, r.size)}} : Json(nullptr);
    file["subBytes"] = read ? Json{{"count", r.subBytes},
                                   {"first", r.firstSub ? Json(*r.firstSub) : Json(nullptr)}}
                            : Json(nullptr);
    file["endsInTable"] = read ? Json(r.endsInTable) : Json(nullptr);
    file["failure"] =
        r.outcome == TablesOutcome::Failed
            ? Json{{"number", r.failure.number}, {"description", r.failure.description}}
            : Json(nullptr);
    return file;
}

void writeTableList(std::ostream& out, const TablesRun& run, bool terminal) {
    const xer::TablesReport& r = run.report;
    std::vector<Row> rows;
    for (const TableTally& t : r.tables)
        rows.push_back({nameShown(t, terminal), std::to_string(t.records), t.bytes});
    if (r.other.tables > 0)
        rows.push_back({"(other tables)", std::to_string(r.other.records), r.other.bytes});
    if (r.outside > 0)
        rows.push_back({"(outside tables)", "-", r.outside});
    // The tables come sorted; the two rows that are no table take their place among them.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.bytes > b.bytes; });

    using Cells = std::array<std::string, 4>;
    std::vector<Cells> cells{{"Table", "Records", "Bytes", "Share"}};
    for (const Row& row : rows)
        cells.push_back({row.name, row.records, std::to_string(row.bytes),
                         shareText(share(row.bytes, r.size))});
    std::array<std::size_t, 4> width{};
    for (const Cells& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c)
            width[c] = std::max(width[c], line[c].size());
    out << shownName(run.path, terminal) << ": " << r.size.value_or(0) << " bytes\n";
    for (const Cells& line : cells) {
        std::string text = line[0] + std::string(width[0] - line[0].size(), ' ');
        for (std::size_t c = 1; c < line.size(); ++c) // numbers line up on the right
            text += "  " + std::string(width[c] - line[c].size(), ' ') + line[c];
        out << text << '\n';
    }
    const std::string first = std::to_string(r.firstSub.value_or(0));
    if (r.subBytes == 1)
        out << "1 SUB byte (a damaged character) at offset " << first
            << ": read as a space; the file is unchanged.\n";
    else if (r.subBytes > 1)
        out << r.subBytes << " SUB bytes (damaged characters), the first at offset " << first
            << ": read as spaces; the file is unchanged.\n";
    if (r.endsInTable)
        out << "The file ends inside its last table: no \"%E\" line closes it.\n";
}

} // namespace zembrel
