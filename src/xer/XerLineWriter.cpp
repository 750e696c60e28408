#include "xer/XerLineWriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zembrel::xer {

namespace {

// Writing behind, each write takes four blocks: every write to a file has a cost of its own in
// the system. A page less, though: on Linux 6.18 with ext4 writes of exactly 1 MiB at 1 MiB
// boundaries made a pass whose input had just been written three to seven times slower, all of
// it in the kernel's copy into the new file's pages.
std::size_t behindSize(std::size_t blockSize) {
    const std::size_t four = 4 * std::max<std::size_t>(blockSize, 1);
    return four > 2 * AlignedBuffer::kPage ? four - AlignedBuffer::kPage : four;
}

} // namespace

XerLineWriter::XerLineWriter(WriteFile& file, std::size_t blockSize, bool behind)
    : m_file(file),
      m_buffer(behind && m_file.worthWritingBehind() ? behindSize(blockSize)
                                                     : std::max<std::size_t>(blockSize, 1)) {
    if (behind && m_file.worthWritingBehind())
        m_spare.emplace(m_buffer.size());
}

Status XerLineWriter::flush() {
    if (m_spare) {
        if (Status s = handOver(); !s)
            return s;
        m_worker.wait();
        return m_behindStatus;
    }
    if (m_used == 0)
        return {};
    Status s = m_file.write(m_buffer.data(), m_used);
    m_used = 0;
    return s;
}

Status XerLineWriter::write(std::string_view text) {
    if (m_spare)
        return writeBehind(text);
    // A long piece (a run of unchanged lines, most of a block) goes straight through: copying it
    // into the buffer first would cost a pass over the bytes for nothing.
    if (text.size() > m_buffer.size() - m_used || text.size() >= kDirect) {
        if (Status s = flush(); !s)
            return s;
        if (text.size() >= std::min(m_buffer.size(), kDirect))
            return m_file.write(text.data(), text.size());
    }
    std::memcpy(m_buffer.data() + m_used, text.data(), text.size());
    m_used += text.size();
    return {};
}

// Everything goes through the buffers: the text is the caller's only until write() returns.
Status XerLineWriter::writeBehind(std::string_view text) {
    while (!text.empty()) {
        if (m_used == m_buffer.size()) {
            if (Status s = handOver(); !s)
                return s;
        }
        const std::size_t n = std::min(text.size(), m_buffer.size() - m_used);
        std::memcpy(m_buffer.data() + m_used, text.data(), n);
        m_used += n;
        text.remove_prefix(n);
    }
    return {};
}

// Starts the writing of the full buffer once the one before is written; a failure of that one
// is this one's.
Status XerLineWriter::handOver() {
    m_worker.wait();
    if (!m_behindStatus)
        return m_behindStatus;
    if (m_used == 0)
        return {};
    std::swap(m_buffer, *m_spare);
    const std::size_t size = std::exchange(m_used, 0);
    const auto job = [this, size] { m_behindStatus = m_file.write(m_spare->data(), size); };
    if (m_worker.start(job))
        return {};
    job(); // without a thread, written here and now
    return m_behindStatus;
}

} // namespace zembrel::xer
