#pragma once

#include "platform/AlignedBuffer.h"
#include "platform/FileSystem.h"
#include "xer/Worker.h"

#include <optional>
#include <string_view>

namespace zembrel::xer {

// Writes XER lines, each followed by CR LF, through one block buffer into a file that the
// caller owns (and closes, or keeps, after flush()). Where the file says it pays, each full
// buffer is written behind on a thread of its own while the next one fills.
class XerLineWriter {
public:
    static constexpr std::size_t kDefaultBlockSize = 256 * 1024;
    // Pieces at least this long are written without passing through the buffer.
    static constexpr std::size_t kDirect = 64 * 1024;

    // behind: whether writing behind may be used at all.
    explicit XerLineWriter(WriteFile& file, std::size_t blockSize = kDefaultBlockSize,
                           bool behind = true);
    XerLineWriter(const XerLineWriter&) = delete;
    XerLineWriter& operator=(const XerLineWriter&) = delete;

    // Writes part of the current line; a line may be written in any number of parts.
    Status write(std::string_view text);
    // Ends the current line with CR LF.
    Status endLine() { return write("\r\n"); }
    // Hands what is buffered to the file; once it returns, everything is written (or failed).
    Status flush();

private:
    Status writeBehind(std::string_view text);
    Status handOver();

    WriteFile& m_file;
    AlignedBuffer m_buffer;
    std::size_t m_used = 0;
    // Writing behind: the worker writes the spare buffer while the other one fills.
    std::optional<AlignedBuffer> m_spare;
    Status m_behindStatus;
    Worker m_worker; // last: it ends, and waits for its job, first
};

} // namespace zembrel::xer
