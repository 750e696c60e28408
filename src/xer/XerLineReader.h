#pragma once

#include "platform/AlignedBuffer.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace zembrel::xer {

// Reads an XER file line by line on raw bytes.
//
// A line ends at CR, and an LF right after that CR belongs to the line end. A file whose first
// line end is a bare LF was converted by some other tool: it is read with LF as a line end too.
// A line is handed to a sink in pieces (one piece when it lies inside one block, more when it
// crosses blocks), so that no line is ever held whole by the reader: a line of any length costs
// one block of memory. A sink is any object with `void piece(const char* data, std::size_t size)`.
//
// The file's length at opening is the length read: a file that turns out shorter, or longer,
// is a failure rather than a shorter result.
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
    bool atEnd() const { return m_next >= m_size && !m_inLine; }

    Position position() const { return {m_next, m_lineEnds}; }
    Status seek(Position position);

    // Reads the next line, handing its text (without the line end) to sink. A sink that has
    // `void whole(const char*, std::size_t)` gets a line that lies inside one block through
    // it, in one call (the common case, made cheap). Fails with input-past-end (62) when no
    // byte is left, when the file ends before its length, or at a SUB byte: then the text before
    // the SUB byte has reached the sink, subOffset() tells where the byte is, and a later
    // readLine goes on with the same line from that byte (after replaceSub(), as a space).
    template <typename Sink> Status readLine(Sink& sink);

    // After a read stopped at a SUB byte that the caller has made a space in the file: the
    // reader's copy of that byte becomes a space too, so the line reads on without reading
    // anything again.
    void replaceSub();

    // Hands each following line that lies wholly inside the current block, with its line end,
    // to visit(const char* text, std::size_t size, const char* end, bool last) as long as visit
    // returns true; end is one past the line end in the block, and last tells that the end
    // test is true after the line. It stops before a line that it cannot hand over whole (one
    // that crosses blocks or holds a SUB byte, or the very first line of the file), which
    // readLine then reads; it returns false when visit said stop.
    //
    // Before each line, skip(from, end) may pass over whole lines from the current one: it
    // returns where the next line to visit starts, or nullptr to stop (then false).
    template <typename Visit, typename Skip> bool forLinesInBlock(Visit&& visit, Skip&& skip);
    template <typename Visit> bool forLinesInBlock(Visit&& visit) {
        return forLinesInBlock(visit, [](const char* from, const char*) { return from; });
    }

    // Once the end test is true: a failure when the file has grown since it was opened.
    Status checkUnchanged();

    // The offset of the SUB byte that made the last read fail, or -1.
    std::int64_t subOffset() const { return m_subOffset; }

    std::uint64_t size() const { return m_size; }
    LineEnds lineEnds() const { return m_lineEnds; }
    std::size_t blockSize() const { return m_buffer.size(); }

private:
    template <typename Sink> Status readLineAcrossBlocks(Sink& sink);
    template <typename Sink> void hand(Sink& sink, const char* to);
    Status refill();
    Status failAtSub();
    Status skipLfAfterCr();
    // The first SUB byte in [m_cur, to), or a place at or after `to` when there is none. Only
    // what the lines handed over need is looked at: runs that a pass's scan skips (which has
    // looked at their bytes already) are never searched again.
    const char* firstSub(const char* to) {
        if (m_sub < m_cur)
            m_sub = m_subEnd = m_cur;
        if (m_sub == m_subEnd && m_subEnd < to)
            lookForSub(to);
        return m_sub;
    }
    void lookForSub(const char* to);
    void forgetSub() { m_sub = m_subEnd = m_cur; }

    std::unique_ptr<ReadFile> m_file;
    AlignedBuffer m_buffer;
    const char* m_cur = nullptr; // next unread byte in the buffer
    const char* m_end = nullptr; // end of the valid bytes in the buffer
    // [m_cur, m_subEnd) has been searched for SUB bytes: m_sub is the first one there, or
    // m_subEnd when it holds none.
    const char* m_sub = nullptr;
    const char* m_subEnd = nullptr;
    std::uint64_t m_next = 0; // file offset of the next unread byte
    std::uint64_t m_size = 0;
    std::int64_t m_subOffset = -1;
    LineEnds m_lineEnds = LineEnds::Undecided;
    bool m_inLine = false; // a read stopped inside a line, at a SUB byte
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
    if (m_inLine)
        return readLineAcrossBlocks(sink);
    if (atEnd())
        return makeFailure(failure::InputPastEnd);
    // The line and its line end inside the buffer, with the byte after a CR there to look at.
    const char* stop = m_cur == m_end ? nullptr : detail::findLineEnd(m_cur, m_end, m_lineEnds);
    if (stop && stop + 1 < m_end && m_lineEnds != LineEnds::Undecided && firstSub(stop) >= stop) {
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

template <typename Visit, typename Skip>
bool XerLineReader::forLinesInBlock(Visit&& visit, Skip&& skip) {
    if (m_lineEnds == LineEnds::Undecided || m_inLine)
        return true;
    for (;;) {
        if (m_end - m_cur < 2)
            return true;
        const char* from = skip(static_cast<const char*>(m_cur), static_cast<const char*>(m_end));
        if (!from)
            return false;
        m_next += static_cast<std::uint64_t>(from - m_cur);
        m_cur = from;
        const char* stop = detail::findLineEnd(m_cur, m_end, m_lineEnds);
        if (!stop || stop + 1 >= m_end || firstSub(stop) < stop)
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

template <typename Sink> void XerLineReader::hand(Sink& sink, const char* to) {
    if (to != m_cur)
        sink.piece(m_cur, static_cast<std::size_t>(to - m_cur));
    m_next += static_cast<std::uint64_t>(to - m_cur);
    m_cur = to;
}

template <typename Sink> Status XerLineReader::readLineAcrossBlocks(Sink& sink) {
    m_inLine = true;
    for (;;) {
        if (m_cur == m_end) {
            if (m_next >= m_size) { // the file's last line, without a line end
                m_inLine = false;
                return {};
            }
            if (Status s = refill(); !s)
                return s;
        }
        // The line end is looked for only up to the next SUB byte, and both in growing spans, so
        // that a line of many SUB bytes costs one pass and a short line a short search.
        const char* stop = nullptr;
        const char* sub = m_end;
        for (const char *from = m_cur, *to = m_cur; to < m_end; from = to) {
            to = from + std::min(m_end - from, std::max<std::ptrdiff_t>(512, from - m_cur));
            sub = firstSub(to);
            stop = detail::findLineEnd(from, std::min(sub, to), m_lineEnds);
            if (stop || sub < to)
                break;
        }
        if (!stop && sub < m_end) {
            hand(sink, sub);
            return failAtSub();
        }
        hand(sink, stop ? stop : m_end);
        if (!stop) {
            // The line goes on in the next block. A line of many blocks lets its reader look
            // up between them (the window's events, a request to stop); a stop ends the read
            // as a failure that its reader knows for what it is.
            if constexpr (requires { sink.blockDone(); }) {
                if (!sink.blockDone())
                    return makeFailure(failure::InvalidCall);
            }
            continue;
        }
        ++m_cur;
        ++m_next;
        m_inLine = false;
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

} // namespace zembrel::xer
