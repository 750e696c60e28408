// The line reader hands over every line of any file exactly: the lines it reads, with each SUB
// byte read on as a space, are the lines of the file as the layout's rules cut them.
#include "FuzzSupport.h"
#include "xer/XerLineReader.h"

#include <algorithm>

using namespace zembrel;

namespace {

struct Collect {
    std::string text;
    void piece(const char* data, std::size_t size) { text.append(data, size); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    std::string repaired(file);
    std::replace(repaired.begin(), repaired.end(), fuzz::kSub, ' ');
    const auto expected = fuzz::linesOf(repaired);

    fuzz::Services services(file, fuzz::smallBlockFor(file));
    auto opened = services.files.openRead(fuzz::Services::kPath);
    fuzz::require(opened.ok(), "the file opens");
    xer::XerLineReader reader(std::move(*opened), services.platform.blockSize);
    std::vector<std::string> lines;
    // Odd lines go through the block walk where it takes them, so both paths meet every shape.
    bool viaBlock = size % 2 == 1;
    while (!reader.atEnd()) {
        if (viaBlock) {
            reader.forLinesInBlock([&](const char* text, std::size_t n, const char*, bool) {
                lines.emplace_back(text, n);
                return true;
            });
            if (reader.atEnd())
                break;
        }
        viaBlock = !viaBlock;
        Collect line;
        Status read = reader.readLine(line);
        while (!read && reader.subOffset() >= 0) {
            fuzz::require(file[static_cast<std::size_t>(reader.subOffset())] == fuzz::kSub,
                          "a read stops at a SUB byte");
            reader.replaceSub();
            read = reader.readLine(line);
        }
        fuzz::require(read.ok(), "every line of a file that does not change reads");
        lines.push_back(std::move(line.text));
    }
    fuzz::require(reader.checkUnchanged().ok(), "the file has not changed");
    fuzz::require(lines.size() == expected.size(), "as many lines as the file has");
    for (std::size_t i = 0; i < lines.size(); ++i)
        fuzz::require(lines[i] == expected[i].text, "each line as the file holds it");
    return 0;
}
