#pragma once

#include <cstddef>
#include <string>

namespace zembrel::test {

// A file a few KiB long whose POBS table line starts `shift` bytes after offset 1000, so that
// over shifts 0 to 70 the table line, its CR LF, the SUB byte in a record near 2 KiB and the
// ending line near 3 KiB each fall on a 1 KiB block boundary at some shift, with runs of records
// between them long enough to be scanned rather than walked.
struct BoundaryLayout {
    std::string text;     // with a SUB byte in a POBS record
    std::string repaired; // the same with that byte a space
    std::string purged;   // without the POBS table, every line ending in CR LF
    int pobs = 0;

    BoundaryLayout(std::size_t shift, const std::string& eol) {
        const auto record = [&](std::size_t fill) { return "%R\t" + std::string(fill, 'f') + eol; };
        const auto fillTo = [&](std::string& out, std::size_t target, int* count) {
            for (std::size_t i = 0; target - out.size() > 80; ++i, count && ++*count)
                out += record(i * 37 % 60);
            out += record(target - out.size() - 3 - eol.size());
            if (count)
                ++*count;
        };
        std::string head = "ERMHDR\t8.0" + eol + "%T\tTASK" + eol + "%F\tid" + eol;
        fillTo(head, 1000 + shift, nullptr);
        std::string table = "%T\tPOBS" + eol + "%F\tpobs_id" + eol;
        std::string before = head + table;
        fillTo(before, 2040 + shift / 2, &pobs);
        const std::string damaged = "%R\t\x1a" + std::string(20, 'd') + eol;
        std::string rest = before + damaged;
        ++pobs;
        fillTo(rest, 3060 + shift, &pobs);
        const std::string tail = "%T\tPROJECT" + eol + "%F\tproj_id" + eol + record(5) + "%E" + eol;
        text = rest + tail;
        repaired = text;
        repaired[before.size() + 3] = ' ';
        purged = head + tail;
        for (std::size_t at = 0; eol == "\n" && (at = purged.find('\n', at)) != purged.npos;
             at += 2)
            purged.insert(at, "\r");
    }
};

} // namespace zembrel::test
