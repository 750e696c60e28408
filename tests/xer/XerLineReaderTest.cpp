#include "xer/XerLineReader.h"
#include "GeneratedFile.h"
#include "fakes/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zembrel::xer {
namespace {

using Lines = std::vector<std::string>;

struct Collect {
    std::string text;
    int pieces = 0;
    std::size_t largestPiece = 0;
    const char* first = nullptr;
    void piece(const char* data, std::size_t size) {
        text.append(data, size);
        ++pieces;
        largestPiece = std::max(largestPiece, size);
        first = first ? first : data;
    }
};

class ReaderTest : public ::testing::TestWithParam<std::size_t> {
protected:
    XerLineReader open(const std::string& content) {
        fs.files["f"] = content;
        return XerLineReader(std::move(*fs.openRead("f")), GetParam());
    }
    // Every line of the file as the passes get them: those inside a block whole, the others
    // read in pieces.
    Lines lines(const std::string& content) {
        auto reader = open(content);
        Lines out;
        const auto whole = [&](const char* text, std::size_t size, const char*, bool) {
            out.emplace_back(text, size);
            return true;
        };
        while (reader.forLinesInBlock(whole) && !reader.atEnd()) {
            Collect c;
            EXPECT_TRUE(reader.readLine(c).ok());
            out.push_back(c.text);
        }
        return out;
    }
    test::FakeFileSystem fs;
};

INSTANTIATE_TEST_SUITE_P(BlockSizes, ReaderTest, ::testing::Values(1, 2, 3, 5, 64, 256 * 1024));

// A CR ends a line and takes an LF right after it; a lone LF ends lines only in a file whose
// first line end is one.
TEST_P(ReaderTest, LineEndsFollowTheFirstLineEnd) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\r\nb\rc\r\n", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}}, // the last line needs no line end
        {"x\r\r\n", {"x", ""}},
        {"", {}},
        {"a\r\nb\nc\r\nd", {"a", "b\nc", "d"}},
        {"a\rb\nc", {"a", "b\nc"}},
        {"a\r\n\nb", {"a", "\nb"}},
        {"a\nb\r\nc\rd\n\ne", {"a", "b", "c", "d", "", "e"}},
        {"\n%T\tPOBS\n", {"", "%T\tPOBS"}},
    };
    for (const auto& [content, expected] : cases)
        EXPECT_EQ(lines(content), expected) << testing::PrintToString(content);
}

// A SUB byte stops the read where it is; the line goes on from there once it is replaced. The
// end test looks only at the bytes left, and a SUB byte is one.
TEST_P(ReaderTest, ASubByteStopsTheLineUntilItIsReplaced) {
    const std::string content = "first\r\n" + std::string(1000, 'x') + "\x1a" + "y\r\n\x1a";
    auto reader = open(content);
    Collect c, d;
    ASSERT_TRUE(reader.readLine(c).ok());
    for (int again = 0; again < 2; ++again) { // not replaced: the same byte again
        const Status s = reader.readLine(d);
        ASSERT_FALSE(s.ok());
        EXPECT_EQ(s.failure().number, 62);
        EXPECT_EQ(reader.subOffset(), 7 + 1000);
    }
    EXPECT_EQ(d.text, std::string(1000, 'x')); // what came before the SUB byte
    reader.replaceSub();
    ASSERT_TRUE(reader.readLine(d).ok());
    EXPECT_EQ(d.text, std::string(1000, 'x') + " y");
    EXPECT_FALSE(reader.atEnd());
    EXPECT_FALSE(reader.readLine(c).ok());
    EXPECT_EQ(reader.subOffset(), static_cast<std::int64_t>(content.size()) - 1);
    EXPECT_EQ(fs.files["f"], content); // the file itself is the caller's to repair
    reader.replaceSub();
    ASSERT_TRUE(reader.readLine(c).ok());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(c).failure().number, 62); // nothing left: no SUB offset
    EXPECT_EQ(reader.subOffset(), -1);
}

// Seeking back to a line start reads on with the line ends as they were decided there.
TEST_P(ReaderTest, SeekingToALineStartKeepsItsLineEnds) {
    auto reader = open("a\rb\nc\rd\n");
    Collect c, again;
    ASSERT_TRUE(reader.readLine(c).ok());
    const auto at = reader.position();
    ASSERT_TRUE(reader.readLine(c).ok());
    ASSERT_TRUE(reader.readLine(c).ok());
    ASSERT_TRUE(reader.seek(at).ok());
    ASSERT_TRUE(reader.readLine(again).ok());
    EXPECT_EQ(again.text, "b\nc");
}

// Lines come in page-aligned pieces no larger than a block, whatever their length.
TEST(XerLineReader, HandsALongLineOverInAlignedBlockSizedPieces) {
    test::FakeFileSystem fs;
    const std::string longLine(100'000, 'q');
    fs.files["f"] = longLine + "\r\nnext";
    XerLineReader reader(std::move(*fs.openRead("f")), 4096);
    Collect c, n;
    ASSERT_TRUE(reader.readLine(c).ok());
    EXPECT_EQ(c.text, longLine);
    EXPECT_LE(c.largestPiece, 4096u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(c.first) % 4096, 0u);
    ASSERT_TRUE(reader.readLine(n).ok());
    EXPECT_EQ(n.text, "next");
    EXPECT_EQ(n.pieces, 1);
    EXPECT_TRUE(reader.atEnd());
}

// A file past 4 GiB: offsets and the end test stay 64-bit. Reading starts near the end, at a
// line start, as the reader may; the SUB byte lies 17 bytes past 2^32.
TEST(XerLineReader, OffsetsPastFourGibibytesAreExact) {
    constexpr std::uint64_t kLines = (std::uint64_t{1} << 32) / 1000,
                            kSubAt = (std::uint64_t{1} << 32) + 17;
    XerLineReader reader(std::make_unique<test::GeneratedReadFile>(test::Generated{
        "", std::string(999, 'x') + "\r", kLines, std::string(313, 'x') + "\x1a\r"}));
    ASSERT_TRUE(reader.seek({kLines * 1000, XerLineReader::LineEnds::Cr}).ok());
    Collect c;
    ASSERT_FALSE(reader.readLine(c).ok());
    EXPECT_EQ(static_cast<std::uint64_t>(reader.subOffset()), kSubAt);
}

} // namespace
} // namespace zembrel::xer
