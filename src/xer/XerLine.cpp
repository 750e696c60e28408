#include "xer/XerLine.h"

namespace zembrel::xer {

Status RunWriter::add(std::string_view text, const char* end) {
    const char* lineEnd = text.data() + text.size();
    if (end - lineEnd == 2) { // CR LF, as it is to be written
        if (m_start && m_end == text.data()) {
            m_end = end;
            return {};
        }
        if (Status s = flush(); !s)
            return s;
        m_start = text.data();
        m_end = end;
        return {};
    }
    if (Status s = flush(); !s)
        return s;
    if (Status s = m_writer.write(text); !s)
        return s;
    return m_writer.endLine();
}

Status RunWriter::addLines(std::string_view lines) {
    if (m_start && m_end == lines.data()) {
        m_end = lines.data() + lines.size();
        return {};
    }
    if (Status s = flush(); !s)
        return s;
    m_start = lines.data();
    m_end = m_start + lines.size();
    return {};
}

Status RunWriter::flush() {
    if (!m_start)
        return {};
    const std::string_view run(m_start, static_cast<std::size_t>(m_end - m_start));
    m_start = m_end = nullptr;
    return m_writer.write(run);
}

bool WholeLine::has(std::size_t k) const {
    std::size_t tabs = 0;
    for (std::size_t at = m_text.find(kTab); at != m_text.npos && tabs < k;
         at = m_text.find(kTab, at + 1))
        ++tabs;
    return tabs >= k;
}

void PieceLine::begin() {
    m_start = m_reader.position();
    head.reset();
    m_keep = Keep::Inspect;
    m_wantFields = m_wantColumns = m_wantTableName = false;
    m_streamed = m_overflow = m_last = false;
    m_held.clear();
    m_status = {};
}

void PieceLine::wantFields(std::size_t first, std::size_t second) {
    fields.reset(first, second);
    m_wantFields = true;
}

void PieceLine::wantColumns(std::string_view first, std::string_view second) {
    columns.reset(first, second);
    m_wantColumns = true;
}

void PieceLine::wantTableName() {
    tableNameReader.reset();
    m_wantTableName = true;
}

void PieceLine::writeOut(const char* data, std::size_t size) {
    if (m_status)
        m_status = m_writer->write({data, size});
}

void PieceLine::writeSpaces(std::size_t count) {
    static const std::string spaces(4096, ' ');
    while (count > 0 && m_status) {
        const std::size_t n = std::min(count, spaces.size());
        writeOut(spaces.data(), n);
        count -= n;
    }
}

void PieceLine::writeHeadText(const LineHead& h) {
    writeSpaces(h.leadingSpaces());
    writeOut(h.text().data(), h.text().size());
    writeSpaces(h.trailingSpaces());
}

void PieceLine::piece(const char* data, std::size_t size) {
    if (m_wantFields)
        fields.piece(data, size);
    if (m_wantColumns)
        columns.piece(data, size);
    if (m_wantTableName)
        tableNameReader.piece(data, size);
    if (m_keep == Keep::Stream) {
        if (m_streamed) {
            writeOut(data, size);
            return;
        }
        // Until the line cannot be a table line any more, what was read of it is exactly
        // what its head says: spaces, a short text, spaces.
        const LineHead before = head;
        head.piece(data, size);
        if (!head.maybeTableLine()) {
            writeHeadText(before);
            writeOut(data, size);
            m_streamed = true;
        }
        return;
    }
    head.piece(data, size);
    if (m_keep == Keep::Hold && !m_overflow) {
        if (m_held.size() + size <= kHoldLimit) {
            m_held.append(data, size);
        } else {
            m_overflow = true;
            m_held.clear();
            m_held.shrink_to_fit();
        }
    }
}

void PieceLine::finish(bool last) {
    m_last = last;
    if (m_wantFields)
        fields.finish();
    if (m_wantColumns)
        columns.finish();
}

Status PieceLine::writeAgainFromFile() {
    // Hands the line read again straight to the writer.
    struct Through {
        XerLineWriter& writer;
        Status status;
        void piece(const char* data, std::size_t size) {
            if (status)
                status = writer.write({data, size});
        }
    } through{*m_writer, {}};
    const auto after = m_reader.position();
    if (Status s = m_reader.seek(m_start); !s)
        return s;
    if (Status s = m_reader.readLine(through); !s)
        return s;
    if (m_reader.position().offset != after.offset) // the file changed under us
        return makeFailure(failure::PathFileAccessError);
    return through.status;
}

Status PieceLine::write() {
    if (!m_status)
        return m_status;
    if (m_keep == Keep::Stream) {
        if (!m_streamed)
            writeHeadText(head);
    } else if (m_keep == Keep::Hold && !m_overflow) {
        writeOut(m_held.data(), m_held.size());
    } else if (Status s = writeAgainFromFile(); !s) {
        return s;
    }
    if (!m_status)
        return m_status;
    return m_writer->endLine();
}

} // namespace zembrel::xer
