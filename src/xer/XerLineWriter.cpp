#include "xer/XerLineWriter.h"

#include <algorithm>
#include <cstring>

namespace zembrel::xer {

XerLineWriter::XerLineWriter(WriteFile& file, std::size_t blockSize)
    : m_file(file), m_buffer(std::max<std::size_t>(blockSize, 1)) {}

Status XerLineWriter::flush() {
    if (m_used == 0)
        return {};
    Status s = m_file.write(m_buffer.data(), m_used);
    m_used = 0;
    return s;
}

Status XerLineWriter::write(std::string_view text) {
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

} // namespace zembrel::xer
