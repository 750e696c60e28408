#include "xer/XerLineReader.h"

#include <algorithm>

namespace zembrel {

XerLineReader::XerLineReader(std::unique_ptr<ReadFile> file, std::size_t blockSize)
    : m_file(std::move(file)), m_buffer(new char[blockSize]), m_capacity(blockSize),
      m_cur(m_buffer.get()), m_end(m_buffer.get()), m_sub(m_buffer.get()), m_size(m_file->size()) {}

Status XerLineReader::refill() {
    // Never read past the length the file had when it was opened: the end test rests on it.
    const std::uint64_t left = m_size - m_next;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_capacity));
    std::size_t got = 0;
    while (got < want) {
        auto r = m_file->read(m_buffer.get() + got, want - got);
        if (!r)
            return r.failure();
        if (*r == 0)
            break;
        got += *r;
    }
    m_bufferOffset = m_next;
    m_cur = m_buffer.get();
    m_end = m_cur + got;
    const auto* sub = static_cast<const char*>(std::memchr(m_cur, detail::kSub, got));
    m_sub = sub ? sub : m_end;
    return {};
}

Status XerLineReader::failAtSub(const char* at) {
    m_subOffset =
        static_cast<std::int64_t>(m_bufferOffset + static_cast<std::uint64_t>(at - m_buffer.get()));
    return makeFailure(failure::InputPastEnd);
}

Status XerLineReader::skipLfAfterCr() {
    if (m_cur == m_end) {
        if (atEnd())
            return {};
        if (Status s = refill(); !s)
            return s;
        if (m_cur == m_end) {
            m_size = m_next;
            return {};
        }
    }
    if (*m_cur == detail::kLf) {
        ++m_cur;
        ++m_next;
    }
    return {};
}

Status XerLineReader::seek(Position position) {
    if (Status s = m_file->seek(position.offset); !s)
        return s;
    m_next = position.offset;
    m_bufferOffset = position.offset;
    m_lineEnds = position.lineEnds;
    m_cur = m_end = m_sub = m_buffer.get();
    m_subOffset = -1;
    return {};
}

Status XerLineReader::resume(Position lineStart, std::uint64_t patched) {
    const auto held = static_cast<std::uint64_t>(m_end - m_buffer.get());
    if (patched < m_bufferOffset || patched >= m_bufferOffset + held ||
        lineStart.offset < m_bufferOffset || lineStart.offset > patched)
        return seek(lineStart);
    m_buffer[patched - m_bufferOffset] = ' ';
    m_cur = m_buffer.get() + (lineStart.offset - m_bufferOffset);
    m_next = lineStart.offset;
    m_lineEnds = lineStart.lineEnds;
    m_subOffset = -1;
    const auto* sub = static_cast<const char*>(
        std::memchr(m_cur, detail::kSub, static_cast<std::size_t>(m_end - m_cur)));
    m_sub = sub ? sub : m_end;
    return {};
}

} // namespace zembrel
