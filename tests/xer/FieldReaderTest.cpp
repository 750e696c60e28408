#include "xer/FieldReader.h"

#include <gtest/gtest.h>

#include <string>

namespace zembrel::xer {
namespace {

// Feeds line to reader in two pieces, split at split.
template <typename Reader> void feed(Reader& reader, const std::string& line, std::size_t split) {
    reader.piece(line.data(), split);
    reader.piece(line.data() + split, line.size() - split);
    reader.finish();
}

TEST(FieldReader, TakesWantedFieldsAcrossPieces) {
    const std::string line = "%R\t11\tR1\t100\t\tRS_Open\tname\t3\tend";
    for (std::size_t split = 0; split <= line.size(); ++split) {
        FieldReader r;
        r.reset(7, 1);
        feed(r, line, split);
        EXPECT_EQ(r.key(7), idKey("3"));
        EXPECT_EQ(r.key(1), idKey("11"));
        EXPECT_TRUE(r.tabAfter(7));
        EXPECT_TRUE(r.has(8));
        EXPECT_FALSE(r.tabAfter(8));
        EXPECT_FALSE(r.has(9));
    }
}

TEST(FieldReader, LongFieldsBecomeDigestsThatTellThemApart) {
    const std::string base(5000, 'a');
    const std::string line = "%R\t" + base + "\t" + base + "b\t" + std::string(256, 's');
    for (std::size_t split : {std::size_t{3}, std::size_t{300}, std::size_t{5003}}) {
        FieldReader r;
        r.reset(1, 2);
        feed(r, line, split);
        EXPECT_EQ(r.key(1), idKey(base));
        EXPECT_EQ(r.key(2), idKey(base + "b"));
        EXPECT_NE(r.key(1), r.key(2));
        EXPECT_LT(r.key(1).size(), 64u);
    }
    // At the limit a field stays text; one byte more makes it a digest of a known value.
    EXPECT_EQ(idText(idKey(std::string(256, 's'))), std::string(256, 's'));
    EXPECT_EQ(
        idText(idKey(std::string(257, 'a'))),
        "SHA-256 e8d95cc2b4bc198c54b40bd214df958afb65f5e73d2c2eafe0593cf5c635c1f0, 257 bytes");
}

TEST(Sha256, GivesTheStandardDigestsWhereverTheInputIsSplit) {
    const struct {
        std::string text;
        std::size_t split;
        const char* hex;
    } cases[] = {
        {"", 0, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 17,
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1'000'000, 'a'), 999'937,
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    static constexpr char kHex[] = "0123456789abcdef";
    for (const auto& c : cases) {
        Sha256 digest;
        digest.add(c.text.data(), c.split);
        digest.add(c.text.data() + c.split, c.text.size() - c.split);
        std::string hex;
        for (auto b : digest.finish())
            hex += {kHex[b >> 4], kHex[b & 15]};
        EXPECT_EQ(hex, c.hex) << c.text.size();
    }
}

TEST(ColumnFinder, FindsColumnsByExactName) {
    const std::string line =
        "%F\trisk_id\trisk_code\tproj_id\tadd_date\tstatus_code\trisk_name\trisk_type_id\trsrc_id";
    for (std::size_t split = 0; split <= line.size(); split += 5) {
        ColumnFinder f;
        f.reset("risk_type_id", "rsrc_id");
        feed(f, line, split);
        EXPECT_EQ(f.column("risk_type_id"), 7u);
        EXPECT_EQ(f.column("rsrc_id"), 8u); // the last column, ended by the line end
        EXPECT_EQ(f.column("risk_id"), 0u); // not asked for
    }
    EXPECT_EQ(columnNamed("%F\trisk_type_idx\tRISK_TYPE_ID\trisk_type_i", "risk_type_id"), 0u);
    EXPECT_EQ(columnNamed(line, "rsrc_id"), 8u);
}

} // namespace
} // namespace zembrel::xer
