#pragma once

#include "platform/AlignedBuffer.h"
#include "platform/FileSystem.h"

#include <cstdint>

namespace zembrel {

// Copies source from offset `copied` to its end through write(const char*, std::size_t), in
// page-aligned blocks. It reads once past the length the file had at opening, so a file that
// grew meanwhile is not cut short silently (75); one that shrank fails with 62.
template <typename Write>
Status copyToEnd(ReadFile& source, std::uint64_t copied, std::size_t blockSize, Write&& write) {
    AlignedBuffer buffer(blockSize);
    if (Status s = source.seek(copied); !s)
        return s;
    for (;;) {
        auto n = source.read(buffer.data(), buffer.size());
        if (!n)
            return n.failure();
        if (*n == 0)
            break;
        if (copied + *n > source.size())
            return makeFailure(failure::PathFileAccessError);
        if (Status s = write(buffer.data(), *n); !s)
            return s;
        copied += *n;
    }
    return copied == source.size() ? Status{} : makeFailure(failure::InputPastEnd);
}

} // namespace zembrel
