#include "xer/FileKind.h"

#include "platform/AlignedBuffer.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace zembrel::xer {

namespace {
constexpr std::string_view kHeader = "ERMHDR";
constexpr std::string_view kUtf8Mark = "\xef\xbb\xbf";
} // namespace

Outcome<FileKind> fileKind(ReadFile& file, std::size_t blockSize) {
    AlignedBuffer buffer(std::clamp<std::size_t>(blockSize, 16, 64 * 1024));
    std::string start; // the first bytes, enough for a mark and the header
    bool nul = false;
    bool lineEnded = false;
    while (!lineEnded && !nul) {
        auto got = file.read(buffer.data(), buffer.size());
        if (!got)
            return got.failure();
        if (*got == 0)
            break;
        std::string_view block(buffer.data(), *got);
        if (start.size() < 9)
            start.append(block.substr(0, 9 - start.size()));
        const auto end = block.find_first_of("\r\n");
        lineEnded = end != block.npos;
        nul = block.substr(0, end).find('\0') != block.npos;
    }
    if (Status s = file.seek(0); !s)
        return s.failure();
    if (nul || start.starts_with("\xff\xfe") || start.starts_with("\xfe\xff"))
        return FileKind::Utf16;
    std::string_view text(start);
    if (text.starts_with(kUtf8Mark))
        text.remove_prefix(kUtf8Mark.size());
    return text.starts_with(kHeader) ? FileKind::Xer : FileKind::Text;
}

} // namespace zembrel::xer
