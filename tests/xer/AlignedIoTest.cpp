#include "platform/AlignedBuffer.h"
#include "platform/Platform.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zembrel::xer {
namespace {

constexpr std::size_t kPage = AlignedBuffer::kPage;

bool pageAligned(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % kPage == 0;
}

// A file of a given text that records where each read puts its bytes.
struct RecordingFile final : ReadFile {
    std::string text;
    std::size_t at = 0;
    std::vector<const char*>& destinations;
    RecordingFile(std::string t, std::vector<const char*>& d)
        : text(std::move(t)), destinations(d) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        destinations.push_back(buffer);
        const std::size_t n = std::min(size, text.size() - at);
        text.copy(buffer, n, at);
        at += n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        at = static_cast<std::size_t>(offset);
        return {};
    }
    std::uint64_t size() const override { return text.size(); }
    std::optional<FileId> id() const override { return std::nullopt; }
};

// Records where each write takes its bytes from.
struct RecordingSink final : WriteFile {
    std::vector<const char*> sources;
    Status write(const char* data, std::size_t) override {
        sources.push_back(data);
        return {};
    }
};

// The kernel copies into and out of memory at a page boundary several times faster than a few
// bytes off it: every block the program reads or writes lies at one.
TEST(AlignedIo, BlocksStartAtPageBoundariesAndSpanWholePages) {
    for (std::size_t size : {std::size_t{1}, kPage - 1, kPage, 7 * std::size_t{1024},
                             std::size_t{256 * 1024}, std::size_t{(1 << 20) + 1}}) {
        SCOPED_TRACE(size);
        const AlignedBuffer buffer(size);
        EXPECT_TRUE(pageAligned(buffer.data()));
        EXPECT_EQ(AlignedBuffer::roundUp(size) % kPage, 0u);
        EXPECT_GE(AlignedBuffer::roundUp(size), size);
    }
    EXPECT_EQ(Platform::kDefaultBlockSize % kPage, 0u);
    EXPECT_EQ(XerLineReader::kDefaultBlockSize % kPage, 0u);
    EXPECT_EQ(XerLineWriter::kDefaultBlockSize % kPage, 0u);
}

TEST(AlignedIo, TheReaderAndTheWriterMoveEveryBlockAtAPageBoundary) {
    std::vector<const char*> destinations;
    std::string text;
    while (text.size() < 5 * kPage)
        text += "%R\tsome record text\r\n";
    XerLineReader reader(std::make_unique<RecordingFile>(text, destinations), 2 * kPage);
    RecordingSink sink;
    XerLineWriter writer(sink, 2 * kPage);
    struct Copy {
        XerLineWriter& writer;
        void piece(const char* data, std::size_t size) {
            ASSERT_TRUE(writer.write({data, size}).ok());
        }
    } copy{writer};
    while (!reader.atEnd())
        ASSERT_TRUE(reader.readLine(copy).ok() && writer.endLine().ok());
    ASSERT_TRUE(writer.flush().ok());
    ASSERT_GE(destinations.size(), 3u);
    ASSERT_GE(sink.sources.size(), 3u);
    for (const char* p : destinations)
        EXPECT_TRUE(pageAligned(p));
    for (const char* p : sink.sources)
        EXPECT_TRUE(pageAligned(p));
}

} // namespace
} // namespace zembrel::xer
