#pragma once

#include "platform/FileSystem.h"

#include <cstddef>

namespace zembrel::xer {

// What a file is, as far as the program may change it.
enum class FileKind {
    Xer,   // begins with the XER header "ERMHDR" (after an optional UTF-8 byte-order mark)
    Text,  // anything else that is not UTF-16: surveyed, but never changed
    Utf16, // a UTF-16 byte-order mark, or a NUL byte in the first line
};

// Looks at the file's first bytes and its first line, then puts the read position back at the
// start.
Outcome<FileKind> fileKind(ReadFile& file, std::size_t blockSize);

} // namespace zembrel::xer
