// Counts past 2^31 - 1 are failure 6, "Overflow", never wrapped numbers. The files are made as
// they are read, in blocks of one repeated line: 2^31 lines cost memory copies, not 13 GB of disk.
#include "fakes/FakeUi.h"
#include "xer/PurgePasses.h"
#include "xer/RiskTypeReferences.h"
#include "xer/Survey.h"
#include "xer/XerLineWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zembrel::xer {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A head, one line repeated count times, a tail.
struct Generated {
    std::string head, line;
    std::uint64_t count = 0;
    std::string tail;
    std::uint64_t size() const { return head.size() + line.size() * count + tail.size(); }
};

class GeneratedReadFile final : public ReadFile {
public:
    explicit GeneratedReadFile(Generated g) : m_g(std::move(g)) {
        while (m_block.size() < (1u << 20)) // whole lines, so that any phase can be copied at once
            m_block += m_g.line;
    }
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        std::size_t n = 0;
        while (n < size && m_offset < m_g.size()) {
            const auto [from, available] = at(m_offset);
            const auto chunk =
                static_cast<std::size_t>(std::min<std::uint64_t>(available, size - n));
            std::memcpy(buffer + n, from, chunk);
            n += chunk;
            m_offset += chunk;
        }
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return m_g.size(); }
    std::optional<FileId> id() const override { return FileId{9, 9}; }

private:
    // The bytes from offset on that lie in one piece, and how many.
    std::pair<const char*, std::uint64_t> at(std::uint64_t offset) const {
        const std::uint64_t bodyStart = m_g.head.size();
        const std::uint64_t bodyEnd = bodyStart + m_g.line.size() * m_g.count;
        if (offset < bodyStart)
            return {m_g.head.data() + offset, bodyStart - offset};
        if (offset >= bodyEnd)
            return {m_g.tail.data() + (offset - bodyEnd), m_g.size() - offset};
        const auto phase = static_cast<std::size_t>((offset - bodyStart) % m_g.line.size());
        return {m_block.data() + phase,
                std::min<std::uint64_t>(bodyEnd - offset, m_block.size() - phase)};
    }

    Generated m_g;
    std::string m_block;
    std::uint64_t m_offset = 0;
};

// One generated file at kPath; nothing can be written.
class GeneratedFiles final : public FileSystem {
public:
    static constexpr const char* kPath = "/big.xer";
    explicit GeneratedFiles(Generated g) : m_g(std::move(g)) {}
    bool fileExists(const std::string& p) override { return p == kPath; }
    bool folderExists(const std::string&) override { return true; }
    EntryKind entryKind(const std::string& p) override {
        return p == kPath ? EntryKind::File : EntryKind::None;
    }
    std::optional<FileId> fileId(const std::string&) override { return std::nullopt; }
    Outcome<std::unique_ptr<ReadFile>> openRead(const std::string&) override {
        return std::unique_ptr<ReadFile>(new GeneratedReadFile(m_g));
    }
    Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string&) override {
        return makeFailure(failure::PermissionDenied);
    }
    Outcome<std::unique_ptr<ScratchFile>> createScratch(const std::string&) override {
        return makeFailure(failure::PermissionDenied);
    }
    std::vector<std::string> folderEntries(const std::string&) override { return {"big.xer"}; }
    Status remove(const std::string&) override { return makeFailure(failure::PermissionDenied); }
    Status createFolder(const std::string&) override {
        return makeFailure(failure::PermissionDenied);
    }

private:
    Generated m_g;
};

// Writes nowhere: the passes' output is not what these tests look at.
struct NoFile final : WriteFile {
    Status write(const char*, std::size_t) override { return {}; }
};

struct QuietEvents final : EventPump {
    void processEvents() override {}
};

const std::string kHead = "ERMHDR\t8.0\r\n";

TEST(ScaleTest, SurveyOfTwoToTheThirtyOnePobsRecordsIsAnOverflow) {
    // About 20 s of one core: CI runs it (ZEMBREL_SCALE=1); the everyday suite does not.
    if (!std::getenv("ZEMBREL_SCALE"))
        GTEST_SKIP() << "set ZEMBREL_SCALE=1 to read 2^31 lines";
    GeneratedFiles files(
        {kHead + "%T\tPOBS\r\n%F\tobs_id\r\n", "%R\r\n", std::uint64_t{1} << 31, "%E\r\n"});
    test::FakeBoxes boxes;
    QuietEvents events;
    test::FakePointer pointer;
    test::FakeSurface window;
    Platform platform{files, boxes, events, pointer, 1 << 20};
    AppState state;
    state.CurrentXerPath = GeneratedFiles::kPath;
    EXPECT_EQ(PerformSurvey(state, window, platform), SurveyOutcome::Failed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "ERROR #6, Overflow");
    EXPECT_FALSE(window.purgeEnabled);
}

// The purge passes count on from where they are given: 2^20 generated lines take a count that
// starts 2^20 - 1 below the limit past it, through the same blocks as 2^31 lines would.
struct PassCase {
    const char* name;
    std::string table;  // table and field-names lines
    bool riskTypes;     // the RISKTYPE pass, else the POBS pass
    std::int32_t below; // how far below the limit the count starts
    bool overflows;
};

class PassScaleTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(PassScaleTest, CountsToTheLimitAndFailsPastIt) {
    constexpr std::uint64_t kLines = 1 << 20;
    const PassCase& c = GetParam();
    XerLineReader reader(std::make_unique<GeneratedReadFile>(
                             Generated{kHead + c.table, "%R\tA\t\r\n", kLines, "%E\r\n"}),
                         64 * 1024);
    NoFile out;
    XerLineWriter writer(out, 64 * 1024);
    QuietEvents events;
    std::vector<std::string> list;
    RiskTypeReferences references(list);
    ASSERT_TRUE(references.add(idKey("A")));
    std::int32_t count = kMax - c.below, kept = 0;
    const auto end = c.riskTypes ? riskTypePass(reader, writer, events, references, count, kept)
                                 : pobsPass(reader, writer, events, count);
    if (c.overflows) {
        ASSERT_FALSE(end.ok());
        EXPECT_EQ(end.failure().number, failure::Overflow);
        EXPECT_EQ(count, kMax);
    } else {
        ASSERT_TRUE(end.ok());
        EXPECT_EQ(count, kMax - c.below + static_cast<std::int32_t>(kLines));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Passes, PassScaleTest,
    ::testing::Values(
        PassCase{"PobsUpToTheLimit", "%T\tPOBS\r\n%F\tobs_id\r\n", false, 1 << 20, false},
        PassCase{"PobsPastTheLimit", "%T\tPOBS\r\n%F\tobs_id\r\n", false, (1 << 20) - 1, true},
        PassCase{"RiskTypesUpToTheLimit", "%T\tRISKTYPE\r\n%F\trisk_type_id\r\n", true, 1 << 20,
                 false},
        PassCase{"RiskTypesPastTheLimit", "%T\tRISKTYPE\r\n%F\trisk_type_id\r\n", true,
                 (1 << 20) - 1, true}),
    [](const auto& p) { return std::string(p.param.name); });

// A parent that no longer fits is an overflow: leaving it out would orphan its child.
TEST(RiskTypeReferencesTest, ParentsPastTheLimitAreAnOverflow) {
    for (const std::size_t limit : {3u, 4u}) {
        std::vector<std::string> list;
        RiskTypeReferences references(list, limit);
        ASSERT_TRUE(references.add(idKey("A")) && references.add(idKey("B")));
        references.setParent(idKey("A"), idKey("P"));
        references.setParent(idKey("B"), idKey("Q"));
        EXPECT_EQ(references.addParents(), limit == 4) << limit;
        EXPECT_EQ(list.size(), limit);
    }
}

} // namespace
} // namespace zembrel::xer
