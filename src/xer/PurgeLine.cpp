#include "xer/PurgeLine.h"

namespace zembrel::xer {

namespace {
// Hands a line read again straight to the writer.
struct WriteThrough {
    XerLineWriter& writer;
    Status status;
    void piece(const char* data, std::size_t size) {
        if (status)
            status = writer.write({data, size});
    }
};
} // namespace

void PurgeLine::beginStreamed() {
    head.reset();
    m_streaming = true;
    m_hold = false;
    m_streamed = false;
    m_held.clear();
    m_overflow = false;
    m_status = {};
    wantFields = wantColumns = false;
}

void PurgeLine::beginHeld() {
    beginStreamed();
    m_streaming = false;
    m_hold = true;
}

void PurgeLine::beginInspected() {
    beginStreamed();
    m_streaming = false;
}

void PurgeLine::writeOut(const char* data, std::size_t size) {
    if (m_status)
        m_status = m_writer->write({data, size});
}

void PurgeLine::writeSpaces(std::size_t count) {
    static const std::string spaces(4096, ' ');
    while (count > 0 && m_status) {
        const std::size_t n = std::min(count, spaces.size());
        writeOut(spaces.data(), n);
        count -= n;
    }
}

void PurgeLine::writeHeadText(const LineHead& h) {
    writeSpaces(h.leadingSpaces());
    writeOut(h.text().data(), h.text().size());
    writeSpaces(h.trailingSpaces());
}

void PurgeLine::piece(const char* data, std::size_t size) {
    if (m_streaming) {
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
    if (wantFields)
        fields.piece(data, size);
    if (wantColumns)
        columns.piece(data, size);
    if (m_hold && !m_overflow) {
        if (m_held.size() + size <= kHoldLimit) {
            m_held.append(data, size);
        } else {
            m_overflow = true;
            m_held.clear();
            m_held.shrink_to_fit();
        }
    }
}

Status PurgeLine::write(XerLineReader& reader, XerLineReader::Position start) {
    if (!m_status)
        return m_status;
    if (m_streaming) {
        if (!m_streamed)
            writeHeadText(head);
    } else if (!m_overflow) {
        writeOut(m_held.data(), m_held.size());
    } else {
        const auto after = reader.position();
        if (Status s = reader.seek(start); !s)
            return s;
        WriteThrough through{*m_writer, {}};
        if (Status s = reader.readLine(through); !s)
            return s;
        if (!through.status)
            return through.status;
        if (reader.position().offset != after.offset) // the file changed under us
            return makeFailure(failure::DeviceIoError);
    }
    if (!m_status)
        return m_status;
    return m_writer->endLine();
}

} // namespace zembrel::xer
