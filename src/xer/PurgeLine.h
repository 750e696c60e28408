#pragma once

#include "xer/FieldReader.h"
#include "xer/XerLayout.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <string>

namespace zembrel::xer {

// One line of a purge pass, as a sink of the line reader. It learns the line's tag, whether it
// is a table line and the fields it is asked for, and gets the line's text ready for writing:
// - streamed: a line that cannot be a table line goes to the writer while it is read, so that
//   long lines pass through without being held;
// - held: a line whose fate is known only at its end is kept, up to a limit; past the limit
//   it is read again from the file if it is to be written after all.
class PurgeLine {
public:
    static constexpr std::size_t kHoldLimit = 1 << 20;

    explicit PurgeLine(XerLineWriter* writer) : m_writer(writer) {}

    void beginStreamed();
    void beginHeld();
    // Only looked at: nothing of the line is kept or written.
    void beginInspected();

    void piece(const char* data, std::size_t size);

    // Writes the whole line and its CR LF (reading it again from start when it was not kept).
    Status write(XerLineReader& reader, XerLineReader::Position start);
    // The first write failure met while streaming.
    const Status& streamStatus() const { return m_status; }

    LineHead head;
    FieldReader fields;
    bool wantFields = false;
    ColumnFinder columns;
    bool wantColumns = false;

private:
    void writeOut(const char* data, std::size_t size);
    void writeSpaces(std::size_t count);
    void writeHeadText(const LineHead& h);

    XerLineWriter* m_writer;
    bool m_streamed = false; // stream mode: the writer has everything read so far
    bool m_streaming = false;
    std::string m_held;
    bool m_overflow = false;
    bool m_hold = false;
    Status m_status;
};

} // namespace zembrel::xer
