#include "xer/TableCensus.h"
#include "BlockSuite.h"
#include "BoundaryLayout.h"
#include "xer/TableName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace zembrel::xer {
namespace {

using test::crlf;
using test::kPlanPath;

struct Expected {
    std::uint64_t tables, records, bytes;
    bool operator==(const Expected&) const = default;
};
using Tallies = std::map<std::string, Expected>;

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "{" << e.tables << " tables, " << e.records << " records, " << e.bytes << " bytes}";
}

class TableCensusTest : public test::BlockSuite {
protected:
    // Counts content; every byte of a file read to its end lies in one table or outside them.
    TablesReport count(const std::string& content) {
        file() = content;
        TablesReport r = countTables(kPlanPath, fake.platform);
        EXPECT_EQ(fake.files.openHandles, 0);
        EXPECT_EQ(file(), content); // read only
        if (r.outcome == TablesOutcome::Reported) {
            std::uint64_t total = r.outside + r.other.bytes;
            for (const TableTally& t : r.tables)
                total += t.bytes;
            EXPECT_EQ(total, content.size());
            EXPECT_EQ(r.size, content.size());
        }
        return r;
    }
    static Tallies tallies(const TablesReport& r) {
        Tallies t;
        for (const TableTally& table : r.tables)
            t[table.name] = {table.tables, table.records, table.bytes};
        return t;
    }
};

INSTANTIATE_TEST_SUITE_P(Blocks, TableCensusTest, ::testing::ValuesIn(test::kBlockSizes),
                         test::blockSizeName);

std::uint64_t bytesOf(const std::vector<std::string>& lines) {
    return crlf(lines).size();
}

// A table runs from its table line up to the line that ends it; the header and what follows
// "%E" lie outside every table.
TEST_P(TableCensusTest, CountsTheRecordsAndBytesOfEveryTable) {
    const Lines obs = {"%T\tOBS", "%F\tobs_id", "%R\t1", "%R\t2"};
    const Lines pobs = {"%T\tPOBS", "%F\tpobs_id", "%R\t1", "", " %R\tnot a record", "%R\t3"};
    const Lines task = {"%T\tTASK", "%F\ttask_id", "%R\tt"};
    const auto join = [](std::initializer_list<Lines> parts) {
        Lines all;
        for (const Lines& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return crlf(all);
    };
    std::string manyRecords;
    for (int i = 0; i < 40; ++i)
        manyRecords += "%R\toutside\r\n";
    const struct {
        const char* what;
        std::string content;
        Tallies tables;
        std::uint64_t outside;
        bool endsInTable = false;
    } cases[] = {
        {"tables one after another",
         join({{"ERMHDR\t8.0"}, obs, pobs, task, {"%E", "after the end"}}),
         {{"OBS", {1, 2, bytesOf(obs)}},
          {"POBS", {1, 2, bytesOf(pobs)}},
          {"TASK", {1, 1, bytesOf(task)}}},
         bytesOf({"ERMHDR\t8.0", "%E", "after the end"})},
        {"tables of one name add up",
         join({{"H"}, pobs, obs, pobs, {"%E"}}),
         {{"OBS", {1, 2, bytesOf(obs)}}, {"POBS", {2, 4, 2 * bytesOf(pobs)}}},
         bytesOf({"H", "%E"})},
        {"spaces around a table line, and a tag with no name",
         join({{"H", "  %T\tTHE   TASK  "}, {"%R"}, {" %T\tOBS", "%T", "%R\tlost"}, {"%T\tOBS"}}),
         {{"THE   TASK", {1, 1, bytesOf({"  %T\tTHE   TASK  ", "%R", " %T\tOBS"})}},
          {"OBS", {1, 0, bytesOf({"%T\tOBS"})}}},
         bytesOf({"H", "%T", "%R\tlost"}),
         true},
        {"LF line ends", "ERMHDR\n%T\tPOBS\n%F\n%R\t1\n%R\t2\n%E\n", {{"POBS", {1, 2, 21}}}, 10},
        {"a file that ends inside a table, without a line end",
         crlf({"H", "%T\tPOBS", "%F"}) + "%R\t1",
         {{"POBS", {1, 1, bytesOf({"%T\tPOBS", "%F"}) + 4}}},
         3,
         true},
        {"no table at all, over many blocks",
         "just text\r\n" + manyRecords + "%R\tx",
         {},
         11 + manyRecords.size() + 4},
        {"an empty file", "", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TablesReport r = count(c.content);
        ASSERT_EQ(r.outcome, TablesOutcome::Reported);
        EXPECT_EQ(tallies(r), c.tables);
        EXPECT_EQ(r.outside, c.outside);
        EXPECT_EQ(r.endsInTable, c.endsInTable);
        EXPECT_EQ(r.other.tables, 0u);
        EXPECT_EQ(r.subBytes, 0u);
    }
    // The biggest first.
    const TablesReport r = count(join({{"H"}, task, pobs, obs, {"%E"}}));
    ASSERT_EQ(r.tables.size(), 3u);
    EXPECT_EQ(r.tables[0].name, "POBS");
    EXPECT_EQ(r.tables[1].name, "OBS");
    EXPECT_EQ(r.tables[2].name, "TASK");
}

// A SUB byte is counted and read as the space a repair would make of it; the file stays as it
// is.
TEST_P(TableCensusTest, SubBytesAreReportedNotRepaired) {
    const std::string damaged =
        crlf({"ERMHDR", "%T\tPOBS\x1a", "%F", "%R\t1\x1a\x1a", "%T\tTA\x1aSK", "%R\t2", "%E"}) +
        "\x1a";
    std::string spaces = damaged;
    std::replace(spaces.begin(), spaces.end(), '\x1a', ' ');
    const TablesReport r = count(damaged);
    ASSERT_EQ(r.outcome, TablesOutcome::Reported);
    EXPECT_EQ(r.subBytes, 5u);
    EXPECT_EQ(r.firstSub, damaged.find('\x1a'));
    EXPECT_EQ(tallies(r), tallies(count(spaces)));
    EXPECT_EQ(tallies(r).count("POBS"), 1u);
    EXPECT_EQ(tallies(r).count("TA SK"), 1u);
}

TEST_P(TableCensusTest, FailsOnFilesItCannotRead) {
    const struct {
        const char* what;
        std::string content;
        int failure;
        std::function<void()> arrange = [] {};
    } cases[] = {
        {"UTF-16 text", std::string("\xff\xfe%\0T\0\t\0X\0\r\0\n\0", 14), 321},
        {"UTF-16 without a mark", std::string("E\0R\0M\0H\0D\0R\0\r\0\n\0", 16), 321},
        {"a read that fails", crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"}), 57,
         [&] { fake.files.fail(Op::Read, 57, 8); }},
        {"no file", "", 53, [&] { fake.files.files.clear(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.files.failWith = nullptr;
        file() = c.content;
        c.arrange();
        const TablesReport r = countTables(kPlanPath, fake.platform);
        EXPECT_EQ(r.outcome, TablesOutcome::Failed);
        EXPECT_EQ(r.failure.number, c.failure);
        EXPECT_TRUE(r.tables.empty());
        EXPECT_EQ(fake.files.openHandles, 0);
    }
    fake.files.failWith = nullptr;
    file() = crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"});
    fake.events.stopAfter = 1;
    EXPECT_EQ(countTables(kPlanPath, fake.platform).outcome, TablesOutcome::Stopped);
}

// Memory stays bounded whatever the names: past kNamesKept names the tables add up under one
// entry, and a long name is kept as its start, told apart from others by its digest.
TEST_P(TableCensusTest, MemoryStaysBoundedWhateverTheNames) {
    const std::size_t names = TablesReport::kNamesKept + 10;
    std::string content = "ERMHDR\r\n";
    for (std::size_t i = 0; i < names; ++i)
        content += crlf({"%T\tT" + std::to_string(i), "%R"});
    const std::string start(300, 'n');
    const std::string longNames = crlf({"%T\t" + start + "1", "%R", "%R", "%T\t" + start + "2"});
    const TablesReport r = count(content + longNames + "%T\tT0\r\n");
    EXPECT_EQ(r.tables.size(), TablesReport::kNamesKept);
    EXPECT_EQ(r.other.tables, 12u); // the long names are among those folded
    EXPECT_EQ(r.other.records, 12u);
    EXPECT_EQ(r.tables[0].name, "T0"); // a name kept is added to after the bound
    EXPECT_EQ(r.tables[0].tables, 2u);

    const TablesReport two = count(longNames + longNames);
    ASSERT_EQ(two.tables.size(), 2u);
    for (const TableTally& t : two.tables) {
        EXPECT_EQ(t.name, start.substr(0, TableName::kKept));
        EXPECT_EQ(t.nameLength, 301u);
        EXPECT_EQ(t.tables, 2u);
    }
    EXPECT_EQ(two.tables[0].records, 4u);
}

// Table lines, line ends and the SUB byte on either side of a block boundary, inside or outside
// a scanned run, are found as one by one.
TEST_P(TableCensusTest, ScannedRunsFindWhatLiesOnBlockBoundaries) {
    for (const std::string eol : {"\r\n", "\n"}) {
        for (std::size_t shift = 0; shift <= 70; ++shift) {
            SCOPED_TRACE((eol == "\n" ? "LF, shift " : "CR LF, shift ") + std::to_string(shift));
            const test::BoundaryLayout layout(shift, eol);
            const std::string& text = layout.text;
            const auto task = text.find("%T\tTASK"), pobs = text.find("%T\tPOBS"),
                       project = text.find("%T\tPROJECT"), end = text.find("%E");
            const TablesReport r = count(text);
            EXPECT_EQ(r.subBytes, 1u);
            EXPECT_EQ(r.firstSub, text.find('\x1a'));
            const Tallies t = tallies(r);
            ASSERT_EQ(t.size(), 3u);
            EXPECT_EQ(t.at("TASK").bytes, pobs - task);
            EXPECT_EQ(t.at("POBS"), (Expected{1, std::uint64_t(layout.pobs), project - pobs}));
            EXPECT_EQ(t.at("PROJECT"), (Expected{1, 1, end - project}));
        }
    }
}

} // namespace
} // namespace zembrel::xer
