#pragma once

#include "xer/FieldReader.h"
#include "xer/TableName.h"
#include "xer/XerLayout.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zembrel::xer {

// Lines that go out unchanged and end in CR LF in the input are written as one run straight
// from the reader's block, instead of line by line.
class RunWriter {
public:
    explicit RunWriter(XerLineWriter& writer) : m_writer(writer) {}

    // Writes a line that lies in the reader's block; end is one past its line end there.
    Status add(std::string_view text, const char* end);
    // Writes whole lines that lie in the reader's block as they stand, each ending in CR LF.
    Status addLines(std::string_view lines);
    // Writes the pending run: before the block is read again, and before anything else.
    Status flush();
    XerLineWriter& writer() { return m_writer; }

private:
    XerLineWriter& m_writer;
    const char* m_start = nullptr;
    const char* m_end = nullptr;
};

// A line lying whole inside the reader's block: everything a pass may ask is at hand.
class WholeLine {
public:
    WholeLine(std::string_view text, const char* end, bool last, RunWriter* run)
        : m_text(text), m_end(end), m_last(last), m_run(run) {}

    // Cannot be a table line: the bulk of every file, settled by two bytes.
    bool plain() const { return m_text.size() >= 2 && m_text[0] == '%' && m_text[1] != 'T'; }
    Tag tag() const { return tagOf(m_text); }
    bool isTableLine(std::string_view name) const { return xer::isTableLine(m_text, name); }
    bool last() const { return m_last; }
    // The line's length in the file, its line end included.
    std::size_t bytes() const { return static_cast<std::size_t>(m_end - m_text.data()); }
    bool tableName(TableName& name) const { return tableNameOf(m_text, name); }
    bool has(std::size_t k) const;
    bool tabAfter(std::size_t k) const { return has(k + 1); }
    IdKey key(std::size_t k) const { return idKey(dataField(m_text, k)); }
    std::size_t column(std::string_view name) const { return columnNamed(m_text, name); }
    Status write() { return m_run->add(m_text, m_end); }

private:
    std::string_view m_text;
    const char* m_end;
    bool m_last;
    RunWriter* m_run;
};

// A line read in pieces (one that crosses blocks, or the file's first line), as the reader's
// sink. It never holds the whole line unless asked to: a pass chooses before the read what it
// needs (the fields, the column names) and what becomes of the text:
// - Stream: the line is written while it is read, unless it turns out to be a table line (held
//   back while it may still be one: a short text between spaces);
// - Hold: the text is kept, up to a limit, until the pass decides; past the limit it is read
//   again from the file when it is to be written after all;
// - Inspect: nothing is kept; a line written after all is read again.
class PieceLine {
public:
    enum class Keep : std::uint8_t { Inspect, Stream, Hold };
    static constexpr std::size_t kHoldLimit = 1 << 20;

    PieceLine(XerLineReader& reader, XerLineWriter* writer) : m_reader(reader), m_writer(writer) {}

    // Resets the line before it is read; the pass then chooses with keep(), fields and columns.
    void begin();
    void keep(Keep keep) { m_keep = keep; }
    FieldReader fields;
    ColumnFinder columns;
    void wantFields(std::size_t first, std::size_t second = FieldReader::kNone);
    void wantColumns(std::string_view first, std::string_view second);
    TableNameReader tableNameReader;
    void wantTableName();

    void piece(const char* data, std::size_t size);
    // Between the blocks of a long line: false to stop reading it.
    bool blockDone() { return !onBlock || onBlock(); }
    std::function<bool()> onBlock;
    // The line has been read; last tells that the end test is true after it.
    void finish(bool last);
    // The first write failure met while streaming.
    const Status& streamStatus() const { return m_status; }

    bool plain() const { return !head.maybeTableLine() && tag() != Tag::Table; }
    Tag tag() const { return head.tag(); }
    bool isTableLine(std::string_view name) const { return head.isTableLine(name); }
    bool last() const { return m_last; }
    // Once read: the line's length in the file, its line end included.
    std::uint64_t bytes() const { return m_reader.position().offset - m_start.offset; }
    // When wantTableName() was asked for.
    bool tableName(TableName& name) {
        if (!tableNameReader.found())
            return false;
        name = tableNameReader.finish();
        return true;
    }
    bool has(std::size_t k) const { return fields.has(k); }
    bool tabAfter(std::size_t k) const { return fields.tabAfter(k); }
    const IdKey& key(std::size_t k) const { return fields.key(k); }
    std::size_t column(std::string_view name) const { return columns.column(name); }
    // Writes the whole line and its CR LF.
    Status write();

    LineHead head;

private:
    void writeOut(const char* data, std::size_t size);
    void writeSpaces(std::size_t count);
    void writeHeadText(const LineHead& h);
    Status writeAgainFromFile();

    XerLineReader& m_reader;
    XerLineWriter* m_writer;
    XerLineReader::Position m_start;
    Keep m_keep = Keep::Inspect;
    bool m_wantFields = false;
    bool m_wantColumns = false;
    bool m_wantTableName = false;
    bool m_streamed = false; // streaming: the writer has everything read so far
    bool m_overflow = false; // holding: the line outgrew the limit
    bool m_last = false;
    std::string m_held;
    Status m_status;
};

} // namespace zembrel::xer
