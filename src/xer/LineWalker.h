#pragma once

#include "platform/Ui.h"
#include "xer/LineScan.h"
#include "xer/XerLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace zembrel::xer {

enum class PassEnd { Done, Stopped };

// What every pass over an XER file shares with walkLines. A pass adds:
// - `bool idle() const`: no table of the pass is open, so a line that cannot be a table line
//   needs nothing but to be copied (when the pass writes) or skipped;
// - `void prepare(PieceLine&)`: what it needs of the next line read in pieces;
// - `template <typename Line> Status take(Line&)`: the line, a WholeLine or a PieceLine.
struct Pass {
    // Where the pass writes, or nothing.
    RunWriter* output = nullptr;
    // Set by take() when the pass needs no more lines.
    bool done = false;
    // A SUB byte in the line being read: the survey repairs it; a purge cannot go on.
    Status subMet(std::uint64_t) { return makeFailure(failure::InputPastEnd); }
    // What lines the pass may let a scan pass over, from where it stands: none by default.
    std::optional<scan::Look> scanLook() const { return std::nullopt; }
    // Whole lines a scan passed over (with records "%R" lines among them), as they stand in
    // the input, each ending in CR LF when the pass writes.
    Status skipped(std::string_view, std::uint64_t) { return {}; }
};

// Walks every line of input through a pass, the one place where the lines of a block, the
// lines that cross blocks and the window's events meet. Before each line the window processes
// its events; every few hundred lines (and before each line read in pieces) a request to stop
// is looked at. Lines that cannot be table lines outside the pass's tables take the short way.
// The most a scan passes over between two looks at the window's events.
inline constexpr std::ptrdiff_t kScanSpan = 64 * 1024;

template <typename P> Outcome<PassEnd> walkLines(XerLineReader& input, EventPump& events, P& pass) {
    std::uint32_t lines = 0;
    Status failed;
    bool stopped = false;
    RunWriter* out = pass.output;
    const auto take = [&](const char* text, std::size_t size, const char* end, bool last) {
        events.processEvents();
        if ((++lines & 0xff) == 0 && events.stopRequested()) {
            stopped = true;
            return false;
        }
        WholeLine line({text, size}, end, last, out);
        if (line.plain() && pass.idle())
            failed = out ? line.write() : Status{};
        else
            failed = pass.take(line);
        return failed.ok() && !pass.done;
    };
    // Runs of lines that need no look, found many bytes at a time instead of line by line; the
    // window gets its events, and a request to stop is looked at, after each run.
    const auto skip = [&](const char* from, const char* end) -> const char* {
        const std::optional<scan::Look> look = pass.scanLook();
        if (!look)
            return from;
        const bool lfEnds = input.lineEnds() == XerLineReader::LineEnds::CrOrLf;
        end = std::min(end, from + std::min<std::ptrdiff_t>(end - from, kScanSpan));
        const scan::Result r = scan::scanLines(from, end, {*look, lfEnds, out != nullptr});
        if (r.skip == 0)
            return from;
        events.processEvents();
        if (events.stopRequested()) {
            stopped = true;
            return nullptr;
        }
        failed = pass.skipped({from, r.skip}, r.records);
        return failed.ok() ? from + r.skip : nullptr;
    };
    PieceLine pieces(input, out ? &out->writer() : nullptr);
    // A line of many blocks reports its progress and lets the window answer once per block,
    // as the lines of a block do.
    pieces.onBlock = [&] {
        events.reportProgress(input.position().offset, input.size());
        events.processEvents();
        stopped = events.stopRequested();
        return !stopped;
    };
    while (!input.atEnd() && !pass.done) {
        const bool going = input.forLinesInBlock(take, skip);
        // A run points into the block: it is written before the block is read again.
        if (out) {
            if (Status s = out->flush(); !s)
                return s.failure();
        }
        if (stopped)
            return PassEnd::Stopped;
        if (!going) {
            if (!failed)
                return failed.failure();
            break;
        }
        events.reportProgress(input.position().offset, input.size());
        if (input.atEnd())
            break;
        events.processEvents();
        if (events.stopRequested())
            return PassEnd::Stopped;
        pieces.begin();
        pass.prepare(pieces);
        Status read = input.readLine(pieces);
        while (!read && input.subOffset() >= 0) {
            if (Status s = pass.subMet(static_cast<std::uint64_t>(input.subOffset())); !s)
                return s.failure();
            input.replaceSub();
            read = input.readLine(pieces);
        }
        if (stopped)
            return PassEnd::Stopped;
        if (!read)
            return read.failure();
        if (Status s = pieces.streamStatus(); !s)
            return s.failure();
        pieces.finish(input.atEnd());
        if (Status s = pass.take(pieces); !s)
            return s.failure();
    }
    if (input.atEnd()) {
        if (Status s = input.checkUnchanged(); !s)
            return s.failure();
    }
    return PassEnd::Done;
}

} // namespace zembrel::xer
