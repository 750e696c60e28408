#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string_view>

namespace zembrel {

// Writes XER lines, each followed by CR LF, through one block buffer.
class XerLineWriter {
public:
    static constexpr std::size_t kDefaultBlockSize = 256 * 1024;

    explicit XerLineWriter(std::unique_ptr<WriteFile> file,
                           std::size_t blockSize = kDefaultBlockSize);
    ~XerLineWriter();
    XerLineWriter(const XerLineWriter&) = delete;
    XerLineWriter& operator=(const XerLineWriter&) = delete;

    // Writes part of the current line; a line may be written in any number of parts.
    Status write(std::string_view text);
    // Ends the current line with CR LF.
    Status endLine();
    Status writeLine(std::string_view text);
    // Writes what is buffered and closes the file; the first failure of either is returned.
    Status close();

private:
    Status flush();

    std::unique_ptr<WriteFile> m_file;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_used = 0;
};

} // namespace zembrel
