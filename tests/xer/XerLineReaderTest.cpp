#include "xer/XerLineReader.h"
#include "fakes/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zembrel::xer {
namespace {

struct Collect {
    std::string text;
    int pieces = 0;
    std::size_t largestPiece = 0;
    void piece(const char* data, std::size_t size) {
        text.append(data, size);
        ++pieces;
        largestPiece = std::max(largestPiece, size);
    }
};

class ReaderTest : public ::testing::TestWithParam<std::size_t> {
protected:
    XerLineReader open(const std::string& content) {
        fs.files["f"] = content;
        return XerLineReader(std::move(*fs.openRead("f")), GetParam());
    }
    // Every line of the file, as the reader sees it.
    std::vector<std::string> lines(const std::string& content) {
        auto reader = open(content);
        std::vector<std::string> out;
        while (!reader.atEnd()) {
            Collect c;
            EXPECT_TRUE(reader.readLine(c).ok());
            out.push_back(c.text);
        }
        return out;
    }
    test::FakeFileSystem fs;
};

using Lines = std::vector<std::string>;

TEST_P(ReaderTest, CrEndsLinesAndTakesTheLfAfterIt) {
    EXPECT_EQ(lines("a\r\nb\rc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(lines("a\r\n\r\nb"), (Lines{"a", "", "b"})); // last line needs no end
    EXPECT_EQ(lines("x\r\r\n"), (Lines{"x", ""}));
    EXPECT_EQ(lines(""), Lines{});
}

TEST_P(ReaderTest, AfterACrFirstALoneLfIsData) {
    EXPECT_EQ(lines("a\r\nb\nc\r\nd"), (Lines{"a", "b\nc", "d"}));
    EXPECT_EQ(lines("a\rb\nc"), (Lines{"a", "b\nc"}));
    EXPECT_EQ(lines("a\r\n\nb"), (Lines{"a", "\nb"}));
}

TEST_P(ReaderTest, AFileWhoseFirstLineEndIsABareLfReadsLfAsALineEnd) {
    EXPECT_EQ(lines("a\nb\r\nc\rd\n\ne"), (Lines{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(lines("\n%T\tPOBS\n"), (Lines{"", "%T\tPOBS"}));
}

TEST_P(ReaderTest, EndTestLooksOnlyAtTheBytesLeft) {
    auto reader = open("a\r\n\x1a");
    Collect c;
    ASSERT_TRUE(reader.readLine(c).ok());
    EXPECT_FALSE(reader.atEnd()); // a SUB byte is a byte left
    Collect d;
    Status s = reader.readLine(d);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.failure().number, 62);
    EXPECT_EQ(s.failure().description, "Input past end of file");
    EXPECT_EQ(reader.subOffset(), 3);
}

TEST_P(ReaderTest, ReadingWithNothingLeftFailsWithoutASubOffset) {
    auto reader = open("only\r\n");
    Collect c;
    ASSERT_TRUE(reader.readLine(c).ok());
    EXPECT_TRUE(reader.atEnd());
    Status s = reader.readLine(c);
    EXPECT_EQ(s.failure().number, 62);
    EXPECT_EQ(reader.subOffset(), -1);
}

TEST_P(ReaderTest, ASubByteStopsTheReadAndTheLineGoesOnOnceItIsReplaced) {
    const std::string content = "first\r\n" + std::string(1000, 'x') + "\x1a" + "y\r\nz\r\n";
    auto reader = open(content);
    Collect c;
    ASSERT_TRUE(reader.readLine(c).ok());
    Collect d;
    EXPECT_FALSE(reader.readLine(d).ok());
    EXPECT_EQ(reader.subOffset(), 7 + 1000);
    EXPECT_EQ(d.text, std::string(1000, 'x')); // what came before the SUB byte
    EXPECT_FALSE(reader.readLine(d).ok());     // not replaced: the same byte again
    EXPECT_EQ(reader.subOffset(), 7 + 1000);
    reader.replaceSub();
    ASSERT_TRUE(reader.readLine(d).ok());
    EXPECT_EQ(d.text, std::string(1000, 'x') + " y");
    auto fresh = open(content); // the file itself was not changed
    ASSERT_TRUE(fresh.readLine(c).ok());
    EXPECT_FALSE(fresh.readLine(c).ok());
}

TEST_P(ReaderTest, AFileThatChangesLengthWhileReadIsAFailure) {
    auto shrinking = open("a\r\nbcdefgh\r\nij");
    fs.files["f"].resize(4);
    Collect c;
    Status s;
    while (s && !shrinking.atEnd())
        s = shrinking.readLine(c);
    EXPECT_EQ(s.failure().number, 62);
    auto growing = open("a\r\nb");
    fs.files["f"] += "more";
    while (!growing.atEnd())
        ASSERT_TRUE(growing.readLine(c).ok());
    EXPECT_EQ(growing.checkUnchanged().failure().number, 75);
}

TEST_P(ReaderTest, SeekingToALineStartReadsOnFromThereWithItsLineEnds) {
    auto reader = open("a\nb\nc\rd\n");
    Collect c;
    ASSERT_TRUE(reader.readLine(c).ok());
    const auto at = reader.position();
    ASSERT_TRUE(reader.readLine(c).ok());
    ASSERT_TRUE(reader.readLine(c).ok());
    ASSERT_TRUE(reader.seek(at).ok());
    Collect again;
    ASSERT_TRUE(reader.readLine(again).ok());
    EXPECT_EQ(again.text, "b");
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ReaderTest, ::testing::Values(1, 2, 3, 5, 64, 256 * 1024));

TEST(XerLineReader, ReadsIntoPageAlignedBlocks) {
    test::FakeFileSystem fs;
    fs.files["f"] = "abc\r\n";
    struct Where {
        const char* first = nullptr;
        void piece(const char* data, std::size_t) {
            if (!first)
                first = data;
        }
    } where;
    XerLineReader reader(std::move(*fs.openRead("f")), 4096);
    ASSERT_TRUE(reader.readLine(where).ok());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(where.first) % 4096, 0u);
}

TEST(XerLineReader, HandsALongLineOverInBlockSizedPieces) {
    test::FakeFileSystem fs;
    const std::string longLine(100'000, 'q');
    fs.files["f"] = longLine + "\r\nnext";
    XerLineReader reader(std::move(*fs.openRead("f")), 4096);
    Collect c;
    ASSERT_TRUE(reader.readLine(c).ok());
    EXPECT_EQ(c.text, longLine);
    EXPECT_LE(c.largestPiece, 4096u);
    Collect n;
    ASSERT_TRUE(reader.readLine(n).ok());
    EXPECT_EQ(n.text, "next");
    EXPECT_EQ(n.pieces, 1);
    EXPECT_TRUE(reader.atEnd());
}

TEST(XerLineReader, AReadFailureOfTheFileIsPassedOn) {
    test::FakeFileSystem fs;
    fs.files["f"] = std::string(10'000, 'a');
    fs.failWith = [](test::FakeFileSystem::Op, const std::string&, std::uint64_t at) {
        return at >= 5000 ? std::optional(makeFailure(57)) : std::nullopt;
    };
    XerLineReader reader(std::move(*fs.openRead("f")), 1024);
    Collect c;
    Status s = reader.readLine(c);
    EXPECT_EQ(s.failure().number, 57);
    EXPECT_EQ(reader.subOffset(), -1);
}

// A file past 4 GiB: offsets and the end test stay 64-bit. The content is made up on the fly.
class HugeFile final : public ReadFile {
public:
    static constexpr std::uint64_t kSize = (std::uint64_t{1} << 32) + 100;
    static constexpr std::uint64_t kSubAt = (std::uint64_t{1} << 32) + 17;
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, kSize - m_offset));
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t at = m_offset + i;
            buffer[i] = at == kSubAt ? '\x1a' : (at % 1000 == 999 ? '\r' : 'x');
        }
        m_offset += n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return kSize; }
    std::optional<FileId> id() const override { return std::nullopt; }

private:
    std::uint64_t m_offset = 0;
};

TEST(XerLineReader, OffsetsPastFourGibibytesAreExact) {
    auto file = std::make_unique<HugeFile>();
    // Start near the end: the reader reads from any line start.
    const std::uint64_t lineStart = (std::uint64_t{1} << 32) / 1000 * 1000;
    XerLineReader reader(std::move(file));
    ASSERT_TRUE(reader.seek({lineStart, XerLineReader::LineEnds::Cr}).ok());
    Collect c;
    Status s = reader.readLine(c);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(static_cast<std::uint64_t>(reader.subOffset()), HugeFile::kSubAt);
}

} // namespace
} // namespace zembrel::xer
