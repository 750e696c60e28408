#include "xer/XerLineWriter.h"

#include <gtest/gtest.h>

namespace zembrel::xer {
namespace {

// Records each write. (A failing write is FaultInjectionTest's.)
struct Sink final : WriteFile {
    std::string data;
    std::vector<std::size_t> writes;
    Status write(const char* bytes, std::size_t size) override {
        data.append(bytes, size);
        writes.push_back(size);
        return {};
    }
};

TEST(XerLineWriter, EndsEveryLineWithCrLfThroughOneBuffer) {
    Sink out;
    XerLineWriter writer(out, 8);
    ASSERT_TRUE(writer.write("%T\tPOBS").ok());
    ASSERT_TRUE(writer.endLine().ok());
    ASSERT_TRUE(writer.write("spl").ok());
    ASSERT_TRUE(writer.write("it\x7f\x7f").ok());
    ASSERT_TRUE(writer.endLine().ok());
    ASSERT_TRUE(writer.endLine().ok());
    ASSERT_TRUE(writer.write(std::string(20, 'z')).ok()); // longer than the buffer
    ASSERT_TRUE(writer.endLine().ok());
    EXPECT_LT(out.data.size(), 45u); // the last line end waits in the buffer
    ASSERT_TRUE(writer.flush().ok());
    EXPECT_EQ(out.data, "%T\tPOBS\r\nsplit\x7f\x7f\r\n\r\n" + std::string(20, 'z') + "\r\n");
    for (std::size_t n : out.writes)
        EXPECT_TRUE(n <= 8 || n == 20) << n;
}

} // namespace
} // namespace zembrel::xer
