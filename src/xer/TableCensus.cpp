#include "xer/TableCensus.h"

#include "xer/FileKind.h"
#include "xer/LineWalker.h"

#include <algorithm>
#include <new>
#include <tuple>
#include <unordered_map>

namespace zembrel::xer {

namespace {

// Every line goes to one table or to none: a table line opens a table whatever table is open
// (its ending line is always looked at as a table line), so the tables and what lies outside
// them add up to the file's size.
struct CensusPass : Pass {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    static constexpr std::size_t kOther = kNone - 1;

    std::vector<TableTally> tallies;
    std::unordered_map<IdKey, std::size_t> index;
    TableTally other;
    std::uint64_t outside = 0;
    std::uint64_t subBytes = 0;
    std::optional<std::uint64_t> firstSub;
    std::size_t open = kNone;

    // Every line counts somewhere: none may pass unseen, not even outside the tables.
    bool idle() const { return false; }
    void prepare(PieceLine& line) const { line.wantTableName(); }
    // Reported, never repaired: the reader goes on as if the byte were a space.
    Status subMet(std::uint64_t offset) {
        if (subBytes++ == 0)
            firstSub = offset;
        return {};
    }
    std::optional<scan::Look> scanLook() const {
        return open == kNone ? scan::Look::TableLines : scan::Look::TableEnds;
    }
    Status skipped(std::string_view lines, std::uint64_t records) {
        if (open == kNone) {
            outside += lines.size();
        } else {
            tally().bytes += lines.size();
            tally().records += records;
        }
        return {};
    }

    template <typename Line> Status take(Line& line) {
        const std::uint64_t bytes = line.bytes();
        if (open != kNone) {
            if (!endsTable(line.tag())) {
                tally().bytes += bytes;
                if (line.tag() == Tag::Record)
                    ++tally().records;
                return {};
            }
            open = kNone;
        }
        TableName name;
        if (!line.tableName(name)) {
            outside += bytes;
            return {};
        }
        openTable(std::move(name));
        ++tally().tables;
        tally().bytes += bytes;
        return {};
    }

    TableTally& tally() { return open == kOther ? other : tallies[open]; }

    void openTable(TableName name) {
        if (auto found = index.find(name.key); found != index.end()) {
            open = found->second;
            return;
        }
        if (tallies.size() == TablesReport::kNamesKept) {
            open = kOther;
            return;
        }
        open = tallies.size();
        tallies.push_back({std::move(name.kept), name.length, 0, 0, 0});
        index.emplace(std::move(name.key), open);
    }
};

TablesReport failed(TablesReport report, const Failure& f) {
    report.outcome = TablesOutcome::Failed;
    report.failure = f;
    return report;
}

TablesReport census(const std::string& path, Platform& platform) {
    TablesReport report;
    if (!platform.files.fileExists(path))
        return failed(report, makeFailure(failure::FileNotFound));
    auto opened = platform.files.openRead(path);
    if (!opened)
        return failed(report, opened.failure());
    report.size = (*opened)->size();
    auto kind = fileKind(**opened, platform.blockSize);
    if (!kind)
        return failed(report, kind.failure());
    // Read byte by byte, UTF-16 text holds no table line that could be found.
    if (*kind == FileKind::Utf16)
        return failed(report, makeFailure(failure::InvalidFileFormat));
    XerLineReader reader(std::move(*opened), platform.blockSize);
    CensusPass pass;
    const auto end = walkLines(reader, platform.events, pass);
    if (!end)
        return failed(report, end.failure());
    if (*end == PassEnd::Stopped)
        return report;
    std::sort(pass.tallies.begin(), pass.tallies.end(),
              [](const TableTally& a, const TableTally& b) {
                  if (a.bytes != b.bytes)
                      return a.bytes > b.bytes;
                  if (a.records != b.records)
                      return a.records > b.records;
                  return std::tie(a.name, a.nameLength) < std::tie(b.name, b.nameLength);
              });
    report.outcome = TablesOutcome::Reported;
    report.tables = std::move(pass.tallies);
    report.other = pass.other;
    report.outside = pass.outside;
    report.subBytes = pass.subBytes;
    report.firstSub = pass.firstSub;
    report.endsInTable = pass.open != CensusPass::kNone;
    return report;
}

} // namespace

TablesReport countTables(const std::string& path, Platform& platform) {
    try {
        return census(path, platform);
    } catch (const std::bad_alloc&) {
        return failed({}, makeFailure(failure::OutOfMemory));
    }
}

} // namespace zembrel::xer
