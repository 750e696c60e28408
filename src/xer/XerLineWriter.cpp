#include "xer/XerLineWriter.h"

#include <cstring>

namespace zembrel {

XerLineWriter::XerLineWriter(std::unique_ptr<WriteFile> file, std::size_t blockSize)
    : m_file(std::move(file)), m_buffer(new char[blockSize]), m_capacity(blockSize) {}

XerLineWriter::~XerLineWriter() {
    if (m_file)
        (void)m_file->close();
}

Status XerLineWriter::flush() {
    if (m_used == 0)
        return {};
    Status s = m_file->write(m_buffer.get(), m_used);
    m_used = 0;
    return s;
}

Status XerLineWriter::write(std::string_view text) {
    if (text.size() > m_capacity - m_used) {
        if (Status s = flush(); !s)
            return s;
        if (text.size() >= m_capacity) // a long piece goes straight through
            return m_file->write(text.data(), text.size());
    }
    std::memcpy(m_buffer.get() + m_used, text.data(), text.size());
    m_used += text.size();
    return {};
}

Status XerLineWriter::endLine() {
    return write("\r\n");
}

Status XerLineWriter::writeLine(std::string_view text) {
    if (Status s = write(text); !s)
        return s;
    return endLine();
}

Status XerLineWriter::close() {
    if (!m_file)
        return {};
    Status flushed = flush();
    Status closed = m_file->close();
    m_file.reset();
    return flushed ? closed : flushed;
}

} // namespace zembrel
