#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace zembrel {

// Reads an XER file line by line on raw bytes.
//
// A line ends at CR, and an LF right after that CR belongs to the line end. A file whose first
// line end is a bare LF was converted by some other tool: it is read with LF as a line end too.
// A line is handed to a sink in pieces (one piece when it lies inside one block, more when it
// crosses blocks), so that no line is ever held whole by the reader: a line of any length costs
// one block of memory. A sink is any object with `void piece(const char* data, std::size_t size)`.
class XerLineReader {
public:
    static constexpr std::size_t kDefaultBlockSize = 256 * 1024;

    enum class LineEnds : std::uint8_t {
        Undecided, // the first line end has not been met yet
        Cr,        // CR (with an optional LF after it) ends a line; a lone LF is data
        CrOrLf,    // CR, CR LF and a lone LF all end a line
    };

    // Where a line starts, enough to read the file again from there.
    struct Position {
        std::uint64_t offset = 0;
        LineEnds lineEnds = LineEnds::Undecided;
    };

    explicit XerLineReader(std::unique_ptr<ReadFile> file,
                           std::size_t blockSize = kDefaultBlockSize);

    // The end test: true when no unread byte remains after the last line read and its line end.
    // It looks only at the file's length; a SUB byte does not make it true.
    bool atEnd() const { return m_next >= m_size; }

    Position position() const { return {m_next, m_lineEnds}; }
    Status seek(Position position);
    // Goes back to lineStart after the caller has made the SUB byte at patched a space in the
    // file. When both lie in the buffer, the buffer is patched alike and nothing is read again.
    Status resume(Position lineStart, std::uint64_t patched);

    // Reads the next line, handing its text (without the line end) to sink. A sink that has
    // `void whole(const char*, std::size_t)` gets a line that lies inside one block through
    // it, in one call (the common case, made cheap). Fails with
    // input-past-end (62) when no byte is left or when the line holds a SUB byte; then
    // subOffset() tells where that byte is. Pieces before the SUB byte may have reached the sink.
    template <typename Sink> Status readLine(Sink& sink);

    // Hands each following line that lies wholly inside the current block, with its line end,
    // to visit(const char* text, std::size_t size, const char* end, bool last) as long as visit
    // returns true; end is one past the line end in the block, and last tells that the end
    // test is true after the line. It stops before a line that it
    // cannot hand over whole (one that crosses blocks or holds a SUB byte, or the very first
    // line of the file), which readLine then reads; it returns false when visit said stop.
    // Made for the passes over whole files, where per-line work must be a few instructions.
    template <typename Visit> bool forLinesInBlock(Visit&& visit);

    // The offset of the SUB byte that made the last read fail, or -1.
    std::int64_t subOffset() const { return m_subOffset; }

    std::uint64_t size() const { return m_size; }

private:
    template <typename Sink> Status readLineAcrossBlocks(Sink& sink);
    Status refill();
    Status failAtSub(const char* at);
    Status skipLfAfterCr();

    std::unique_ptr<ReadFile> m_file;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    const char* m_cur = nullptr;      // next unread byte in the buffer
    const char* m_end = nullptr;      // end of the valid bytes in the buffer
    const char* m_sub = nullptr;      // first SUB byte at or after m_cur, or m_end when none
    std::uint64_t m_bufferOffset = 0; // file offset of m_buffer[0]
    std::uint64_t m_next = 0;         // file offset of the next unread byte
    std::uint64_t m_size = 0;
    std::int64_t m_subOffset = -1;
    LineEnds m_lineEnds = LineEnds::Undecided;
};

namespace detail {
inline constexpr char kCr = '\r';
inline constexpr char kLf = '\n';
inline constexpr char kSub = '\x1a';

// The first line-end character in [from, to) under the given rule, or nullptr.
inline const char* findLineEnd(const char* from, const char* to, XerLineReader::LineEnds rule) {
    const auto n = static_cast<std::size_t>(to - from);
    if (rule == XerLineReader::LineEnds::Cr)
        return static_cast<const char*>(std::memchr(from, kCr, n));
    const auto* lf = static_cast<const char*>(std::memchr(from, kLf, n));
    const auto crSpan = lf ? static_cast<std::size_t>(lf - from) : n;
    const auto* cr = static_cast<const char*>(std::memchr(from, kCr, crSpan));
    return cr ? cr : lf;
}
} // namespace detail

template <typename Sink> Status XerLineReader::readLine(Sink& sink) {
    m_subOffset = -1;
    if (atEnd())
        return makeFailure(failure::InputPastEnd);
    // The line and its line end inside the buffer, with the byte after a CR there to look at.
    const char* stop = m_cur == m_end ? nullptr : detail::findLineEnd(m_cur, m_end, m_lineEnds);
    if (stop && stop + 1 < m_end && m_lineEnds != LineEnds::Undecided) {
        if (m_sub < stop)
            return failAtSub(m_sub);
        if constexpr (requires { sink.whole(m_cur, std::size_t{}); })
            sink.whole(m_cur, static_cast<std::size_t>(stop - m_cur));
        else if (stop != m_cur)
            sink.piece(m_cur, static_cast<std::size_t>(stop - m_cur));
        const char* next = stop + 1;
        if (*stop == detail::kCr && *next == detail::kLf)
            ++next;
        m_next += static_cast<std::uint64_t>(next - m_cur);
        m_cur = next;
        return {};
    }
    return readLineAcrossBlocks(sink);
}

template <typename Visit> bool XerLineReader::forLinesInBlock(Visit&& visit) {
    if (m_lineEnds == LineEnds::Undecided)
        return true;
    for (;;) {
        if (m_end - m_cur < 2)
            return true;
        const char* stop = detail::findLineEnd(m_cur, m_end, m_lineEnds);
        if (!stop || stop + 1 >= m_end || m_sub < stop)
            return true;
        const char* next = stop + 1;
        if (*stop == detail::kCr && *next == detail::kLf)
            ++next;
        const char* text = m_cur;
        m_next += static_cast<std::uint64_t>(next - m_cur);
        m_cur = next;
        if (!visit(text, static_cast<std::size_t>(stop - text), next, m_next >= m_size))
            return false;
    }
}

template <typename Sink> Status XerLineReader::readLineAcrossBlocks(Sink& sink) {
    for (;;) {
        if (m_cur == m_end) {
            if (Status s = refill(); !s)
                return s;
            if (m_cur == m_end) { // the file shrank under us: what was there is the last line
                m_size = m_next;
                return {};
            }
        }
        const char* stop = detail::findLineEnd(m_cur, m_end, m_lineEnds);
        const char* textEnd = stop ? stop : m_end;
        if (m_sub < textEnd)
            return failAtSub(m_sub);
        if (textEnd != m_cur)
            sink.piece(m_cur, static_cast<std::size_t>(textEnd - m_cur));
        m_next += static_cast<std::uint64_t>(textEnd - m_cur);
        m_cur = textEnd;
        if (!stop)
            continue; // the line goes on in the next block
        ++m_cur;
        ++m_next;
        if (*stop == detail::kLf) {
            if (m_lineEnds == LineEnds::Undecided)
                m_lineEnds = LineEnds::CrOrLf;
            return {};
        }
        if (m_lineEnds == LineEnds::Undecided)
            m_lineEnds = LineEnds::Cr;
        return skipLfAfterCr();
    }
}

} // namespace zembrel
