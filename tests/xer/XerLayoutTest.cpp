#include "xer/XerLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zembrel::xer {
namespace {

TEST(XerLayout, TagIsTheFirstTwoCharactersAsTheyStand) {
    EXPECT_EQ(tagOf("%T\tPOBS"), Tag::Table);
    EXPECT_EQ(tagOf("%R"), Tag::Record);
    EXPECT_EQ(tagOf("%E"), Tag::End);
    EXPECT_EQ(tagOf(" %R\tx"), Tag::Other); // a leading space spoils the tag
    EXPECT_EQ(tagOf("%"), Tag::Other);
    EXPECT_EQ(tagOf("%r"), Tag::Other);
    EXPECT_EQ(tagOf("%F\tx"), Tag::Other);
}

TEST(XerLayout, TableLineIgnoresSurroundingSpacesOnly) {
    EXPECT_TRUE(isTableLine("%T\tPOBS", "POBS"));
    EXPECT_TRUE(isTableLine("   %T\tPOBS  ", "POBS"));
    EXPECT_FALSE(isTableLine("%T\tPOBS\t", "POBS"));
    EXPECT_FALSE(isTableLine("\t%T\tPOBS", "POBS"));
    EXPECT_FALSE(isTableLine("%T\tpobs", "POBS"));
    EXPECT_FALSE(isTableLine("%T POBS", "POBS"));
    EXPECT_FALSE(isTableLine("%T\tPOBSX", "POBS"));
    EXPECT_FALSE(isTableLine("%T\tPOBS", "RISKTYPE"));
}

TEST(XerLayout, DataFieldsAreBetweenTabs) {
    const std::string line = "%R\tid1\t\tthree\tfour";
    EXPECT_EQ(dataField(line, 1), "id1");
    EXPECT_EQ(dataField(line, 2), "");
    EXPECT_EQ(dataField(line, 4), "four");
    EXPECT_EQ(dataField(line, 5), "");
}

// Feeding a line in every possible split gives what the whole line gives.
void expectSameInPieces(const std::string& line) {
    for (std::size_t split = 0; split <= line.size(); ++split) {
        for (std::size_t step : {std::size_t{1}, std::size_t{3}, line.size() + 1}) {
            LineHead head;
            head.piece(line.data(), split);
            for (std::size_t at = split; at < line.size(); at += step)
                head.piece(line.data() + at, std::min(step, line.size() - at));
            SCOPED_TRACE("line [" + line + "] split " + std::to_string(split));
            EXPECT_EQ(head.tag(), tagOf(line));
            EXPECT_EQ(head.isTableLine("POBS"), isTableLine(line, "POBS"));
            EXPECT_EQ(head.isTableLine("RISKTYPE"), isTableLine(line, "RISKTYPE"));
        }
    }
}

TEST(XerLayout, LineHeadInPiecesAgreesWithWholeLines) {
    for (const std::string& line : std::vector<std::string>{
             "%T\tPOBS", "  %T\tPOBS   ", "%T\tRISKTYPE ", "%T\tPOBS\t", "%T\tPO BS", " ", "", "%",
             "%R\tx\ty", " %T\tRISKTYPE", "%T\tPROJRISK", "%E", "ERMHDR\t8.0",
             "%T\tPOBS" + std::string(40, ' '), std::string(40, ' ') + "%T\tPOBS",
             "%T\tPOBS" + std::string(40, ' ') + "x"})
        expectSameInPieces(line);
}

} // namespace
} // namespace zembrel::xer
