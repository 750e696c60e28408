#pragma once

#include "platform/AlignedBuffer.h"
#include "platform/FileSystem.h"

#include <string_view>

namespace zembrel::xer {

// Writes XER lines, each followed by CR LF, through one block buffer into a file that the
// caller owns (and closes, or keeps, after flush()).
class XerLineWriter {
public:
    static constexpr std::size_t kDefaultBlockSize = 256 * 1024;
    // Pieces at least this long are written without passing through the buffer.
    static constexpr std::size_t kDirect = 64 * 1024;

    explicit XerLineWriter(WriteFile& file, std::size_t blockSize = kDefaultBlockSize);
    XerLineWriter(const XerLineWriter&) = delete;
    XerLineWriter& operator=(const XerLineWriter&) = delete;

    // Writes part of the current line; a line may be written in any number of parts.
    Status write(std::string_view text);
    // Ends the current line with CR LF.
    Status endLine() { return write("\r\n"); }
    // Hands what is buffered to the file.
    Status flush();

private:
    WriteFile& m_file;
    AlignedBuffer m_buffer;
    std::size_t m_used = 0;
};

} // namespace zembrel::xer
