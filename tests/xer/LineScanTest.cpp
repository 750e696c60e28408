#include "xer/LineScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zembrel::xer::scan {
namespace {

// The scan's promise worked out line by line: skip whole lines from the start while the line
// after them starts before the last byte, the line needs no look and holds no SUB byte (and,
// when asked, ends in CR LF).
Result lineByLine(const std::string& text, Rules rules) {
    const std::size_t end = text.size();
    std::size_t at = 0;
    Result result;
    while (at + 1 < end) {
        std::size_t stop = at;
        while (stop < end && text[stop] != '\r' && !(rules.lfEnds && text[stop] == '\n'))
            ++stop;
        if (stop + 1 >= end)
            break;
        const bool crLf = text[stop] == '\r' && text[stop + 1] == '\n';
        const std::size_t next = stop + (crLf ? 2 : 1);
        if (next + 2 > end || text.find('\x1a', at) < next || (rules.crLfOnly && !crLf))
            break;
        const char second = text[at + 1];
        const bool pct = text[at] == '%';
        const bool plain = pct && second != 'T' && second != '\r' && second != '\n';
        if (rules.look == Look::TableLines ? !plain : pct && (second == 'T' || second == 'E'))
            break;
        result.records += rules.look == Look::TableEnds && pct && second == 'R';
        at = result.skip = next;
    }
    return result;
}

void expectEveryEngine(const std::string& text, Rules rules, Result expected) {
    for (Engine engine : {Engine::Plain, Engine::Sse2, Engine::Avx2, Engine::Best}) {
        if (!engineAvailable(engine))
            continue;
        SCOPED_TRACE(static_cast<int>(engine));
        // At every alignment, with the bytes around the text unlike anything it looks for.
        for (std::size_t shift = 0; shift < 4; ++shift) {
            std::string buffer(shift, 'x');
            buffer += text + "xxxx";
            const char* from = buffer.data() + shift;
            const Result got = scanLinesWith(engine, from, from + text.size(), rules);
            ASSERT_EQ(got.skip, expected.skip) << "shift " << shift;
            ASSERT_EQ(got.records, expected.records) << "shift " << shift;
        }
    }
}

// Under every combination of the rules, every engine stops where the line-by-line walk does.
void expectEveryRule(const std::string& text, const std::string& where) {
    for (int r = 0; r < 8; ++r) {
        const Rules rules{r & 1 ? Look::TableEnds : Look::TableLines, (r & 2) != 0, r > 3};
        SCOPED_TRACE("rules " + std::to_string(r) + " " + where);
        expectEveryEngine(text, rules, lineByLine(text, rules));
    }
}

TEST(LineScan, StopsWhereTheLineByLineWalkWould) {
    const std::string records = "%R\ta\r\n%R\tbb\r\n";
    const struct {
        const char* what;
        std::string text;
        Rules rules;
        Result expected;
    } cases[] = {
        {"records up to a table line", records + "%T\tPOBS\r\n%R\r\n", {}, {13, 0}},
        {"a table line after spaces", records + "  %T\tX\r\n%R\r\n", {}, {13, 0}},
        {"never into the last line", records + "%R", {}, {13, 0}},
        {"records counted up to the end", records + "%E\r\nx", {Look::TableEnds}, {13, 2}},
        {"an ending table line", "%F\r\n" + records + "%T\r\nx", {Look::TableEnds}, {17, 2}},
        {"a SUB byte stops at its line", records + "%R\x1a\r\n%R\r\n", {}, {13, 0}},
        {"an LF-only line when CR LF is wanted",
         records + "%R\n%R\r\n%R",
         {{}, true, true},
         {13, 0}},
        {"a lone LF is data in CR files", "%R\nx\r\n%R\r\n%R", {}, {10, 0}},
        {"a lone LF ends lines in LF files", "%R\nx\n%R\n%R", {{}, true}, {3, 0}},
        {"an empty line may be a table line", records + "\r\n%R\r\n%R", {}, {13, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result model = lineByLine(c.text, c.rules);
        EXPECT_EQ(model.skip, c.expected.skip);
        EXPECT_EQ(model.records, c.expected.records);
        expectEveryEngine(c.text, c.rules, c.expected);
    }
}

// Random texts of the characters the scan looks at, long enough for several vector windows:
// the plain masks, SSE2 and AVX2 agree with each other and with the line-by-line walk.
TEST(LineScan, EveryEngineAgreesWithTheLineByLineWalk) {
    const std::string alphabet = "%%%%RRRTE\r\r\n\n\n\x1a\tab ";
    std::mt19937 random(20261206);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 400, ' ');
        const bool sparse = round % 2 == 0; // long lines of plain text between line ends
        for (auto& c : text)
            c = sparse && random() % 8 ? 'a' : alphabet[random() % alphabet.size()];
        expectEveryRule(text, "in round " + std::to_string(round));
    }
}

// Tables as real files hold them (records in CR LF or in LF lines), with one byte made odd at
// every position of the first windows, in a text that ends right after it or goes on: where the
// vector engines settle whole windows at once, they stop exactly where the line-by-line walk does.
TEST(LineScan, EveryEngineAgreesAroundOneOddByteAnywhere) {
    std::mt19937 random(6122026);
    for (const char* lineEnd : {"\r\n", "\n"}) {
        std::string records;
        while (records.size() < 320)
            records += "%R\t" + std::string(random() % 90, 'v') + lineEnd;
        for (const char odd : {'\x1a', '\r', '\n', 'T', 'E', 'R', '%', 'v'}) {
            for (std::size_t at = 0; at < 260; ++at) {
                std::string text = records;
                text[at] = odd;
                for (const std::size_t size : {text.size(), at + 1 + at % 3})
                    expectEveryRule(text.substr(0, size), std::to_string(at) + " " +
                                                              std::to_string(size) + " " +
                                                              std::to_string(int{odd}));
            }
        }
    }
}

TEST(LineScan, LongRunsOfRecordsAreSkippedWhole) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "%R\t" + std::string(static_cast<std::size_t>(i % 150), 'v') + "\r\n";
    const std::size_t body = text.size();
    text += "%E\r\n%T\tNEXT\r\n";
    expectEveryEngine(text, {Look::TableEnds}, {body, 1000});
    expectEveryEngine(text, {Look::TableLines, false, true}, {body + 4, 0});
}

} // namespace
} // namespace zembrel::xer::scan
