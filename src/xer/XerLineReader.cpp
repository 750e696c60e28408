#include "xer/XerLineReader.h"

#include <algorithm>

namespace zembrel::xer {

XerLineReader::XerLineReader(std::unique_ptr<ReadFile> file, std::size_t blockSize)
    : m_file(std::move(file)), m_buffer(std::max<std::size_t>(blockSize, 1)),
      m_cur(m_buffer.data()), m_end(m_buffer.data()), m_sub(m_buffer.data()),
      m_subEnd(m_buffer.data()), m_size(m_file->size()) {}

void XerLineReader::lookForSub(const char* to) {
    // A little beyond what is asked, so that lines read one by one share a search.
    constexpr std::ptrdiff_t kAhead = 2048;
    const char* until = m_end - m_subEnd > kAhead ? std::max(to, m_subEnd + kAhead) : m_end;
    const auto* sub = static_cast<const char*>(
        std::memchr(m_subEnd, detail::kSub, static_cast<std::size_t>(until - m_subEnd)));
    m_sub = sub ? sub : until;
    m_subEnd = until;
}

Status XerLineReader::refill() {
    // Never read past the length the file had when it was opened: the end test rests on it.
    const std::uint64_t left = m_size - m_next;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_buffer.size()));
    std::size_t got = 0;
    while (got < want) {
        auto r = m_file->read(m_buffer.data() + got, want - got);
        if (!r)
            return r.failure();
        if (*r == 0) // the file is shorter than it was: what is missing is not to be guessed
            return makeFailure(failure::InputPastEnd);
        got += *r;
    }
    m_cur = m_buffer.data();
    m_end = m_cur + got;
    forgetSub();
    return {};
}

Status XerLineReader::checkUnchanged() {
    char extra = 0;
    auto r = m_file->read(&extra, 1);
    if (!r)
        return r.failure();
    if (*r != 0) // bytes beyond the length at opening: the file changed while it was read
        return makeFailure(failure::PathFileAccessError);
    return {};
}

Status XerLineReader::failAtSub() {
    m_subOffset = static_cast<std::int64_t>(m_next);
    return makeFailure(failure::InputPastEnd);
}

void XerLineReader::replaceSub() {
    if (m_subOffset < 0 || m_cur == m_end || *m_cur != detail::kSub)
        return;
    m_buffer.data()[m_cur - m_buffer.data()] = ' ';
    m_subOffset = -1;
    forgetSub();
}

Status XerLineReader::skipLfAfterCr() {
    if (m_cur == m_end) {
        if (m_next >= m_size)
            return {};
        if (Status s = refill(); !s)
            return s;
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
    m_lineEnds = position.lineEnds;
    m_cur = m_end = m_sub = m_subEnd = m_buffer.data();
    m_subOffset = -1;
    m_inLine = false;
    return {};
}

} // namespace zembrel::xer
