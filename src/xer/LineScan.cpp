#include "xer/LineScan.h"

#include <algorithm>
#include <bit>

namespace zembrel::xer::scan {

namespace {

ByteMasks windowMasks(const char* at) {
    return byteMasksPlain(at, 64);
}

template <Look, bool> bool quietWindow(const char*, std::uint64_t&) {
    return false;
}

const char* lastLf(const char* from, const char* to) {
    while (to > from) {
        if (*--to == '\n')
            return to;
    }
    return nullptr;
}

#include "xer/LineScanDrive.inc"

Engine bestEngine() {
    for (Engine e : {Engine::Avx2, Engine::Sse2})
        if (engineAvailable(e))
            return e;
    return Engine::Plain;
}

} // namespace

ByteMasks byteMasksPlain(const char* at, std::size_t count) {
    ByteMasks m;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = at[i];
        m.pct |= bit(c == '%', i);
        m.cr |= bit(c == kCr, i);
        m.lf |= bit(c == kLf, i);
        m.sub |= bit(c == '\x1a', i);
        m.t |= bit(c == 'T', i);
        m.e |= bit(c == 'E', i);
        m.r |= bit(c == 'R', i);
    }
    return m;
}

Result scanLinesWith(Engine engine, const char* from, const char* end, Rules rules) {
    if (engine == Engine::Best)
        engine = bestEngine();
    if (!engineAvailable(engine))
        engine = Engine::Plain;
    switch (engine) {
    case Engine::Sse2: return scanSse2(from, end, rules);
    case Engine::Avx2: return scanAvx2(from, end, rules);
    default: return drive(from, end, rules);
    }
}

Result scanLines(const char* from, const char* end, Rules rules) {
    using Scan = Result (*)(const char*, const char*, Rules);
    static const Scan best = [] {
        switch (bestEngine()) {
        case Engine::Avx2: return &scanAvx2;
        case Engine::Sse2: return &scanSse2;
        default: return &drive;
        }
    }();
    return best(from, end, rules);
}

} // namespace zembrel::xer::scan
