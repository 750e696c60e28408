#include "xer/FieldReader.h"

#include <gtest/gtest.h>

#include <string>

namespace zembrel::xer {
namespace {

TEST(FieldReader, TakesWantedFieldsAcrossPieces) {
    const std::string line = "%R\t11\tR1\t100\t\tRS_Open\tname\t3\tend";
    for (std::size_t split = 0; split <= line.size(); ++split) {
        FieldReader r;
        r.reset(7, 1);
        r.piece(line.data(), split);
        r.piece(line.data() + split, line.size() - split);
        EXPECT_EQ(r.field(7), "3");
        EXPECT_EQ(r.field(1), "11");
        EXPECT_TRUE(r.tabAfter(7));
        EXPECT_TRUE(r.has(8));
        EXPECT_FALSE(r.tabAfter(8));
        EXPECT_FALSE(r.has(9));
    }
}

TEST(FieldReader, KeepsOnlyWhatALimitAllows) {
    FieldReader r;
    r.reset(1, FieldReader::kNone, 3);
    const std::string line = "%R\tABCDEFG\tx";
    r.piece(line.data(), line.size());
    EXPECT_EQ(r.field(1), "ABCD"); // one past the limit: longer than anything it is compared to
    EXPECT_TRUE(r.tabAfter(1));
}

TEST(ColumnFinder, FindsColumnsByExactName) {
    const std::string line =
        "%F\trisk_id\trisk_code\tproj_id\tadd_date\tstatus_code\trisk_name\trisk_type_id\trsrc_id";
    for (std::size_t split = 0; split <= line.size(); split += 5) {
        ColumnFinder f;
        f.reset("risk_type_id", "rsrc_id");
        f.piece(line.data(), split);
        f.piece(line.data() + split, line.size() - split);
        f.finish();
        EXPECT_EQ(f.column(0), 7u);
        EXPECT_EQ(f.column(1), 8u); // the last column, ended by the line end
    }
    ColumnFinder none;
    none.reset("risk_type_id");
    const std::string other = "%F\trisk_type_idx\tRISK_TYPE_ID\trisk_type_i";
    none.piece(other.data(), other.size());
    none.finish();
    EXPECT_EQ(none.column(0), 0u);
}

} // namespace
} // namespace zembrel::xer
