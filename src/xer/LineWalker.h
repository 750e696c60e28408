#pragma once

#include "platform/Ui.h"
#include "xer/XerLine.h"

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
};

// Walks every line of input through a pass, the one place where the lines of a block, the
// lines that cross blocks and the window's events meet. Before each line the window processes
// its events; every few hundred lines (and before each line read in pieces) a request to stop
// is looked at. Lines that cannot be table lines outside the pass's tables take the short way.
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
    PieceLine pieces(input, out ? &out->writer() : nullptr);
    while (!input.atEnd() && !pass.done) {
        const bool going = input.forLinesInBlock(take);
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
