#include "xer/LineScan.h"

#include <algorithm>
#include <bit>

namespace zembrel::xer::scan {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::size_t kWindow = 64;

using MaskFn = ByteMasks (*)(const char*);

std::uint64_t bit(bool set, std::size_t at) {
    return static_cast<std::uint64_t>(set) << at;
}

// What a window of count bytes at q tells, with its neighbours: q[-2] and q[-1] when they lie
// at or after from (a line start: what is before it is not looked at), and q[count], which is
// always in the block.
struct Masks {
    std::uint64_t start = 0, stop = 0, record = 0, hit = 0;
};

Masks combine(const ByteMasks& b, const char* from, const char* q, std::size_t count, Rules rules) {
    const char before1 = q - from >= 1 ? q[-1] : '\0';
    const char before2 = q - from >= 2 ? q[-2] : '\0';
    const char after = q[count];
    const std::size_t top = count - 1;
    const std::uint64_t crBefore = b.cr << 1 | bit(before1 == kCr, 0);
    const std::uint64_t lfBefore = b.lf << 1 | bit(before1 == kLf, 0);
    const std::uint64_t crTwoBefore = b.cr << 2 | bit(before1 == kCr, 1) | bit(before2 == kCr, 0);
    const std::uint64_t tNext = b.t >> 1 | bit(after == 'T', top);
    const std::uint64_t eNext = b.e >> 1 | bit(after == 'E', top);
    const std::uint64_t rNext = b.r >> 1 | bit(after == 'R', top);
    const std::uint64_t crNext = b.cr >> 1 | bit(after == kCr, top);
    const std::uint64_t lfNext = b.lf >> 1 | bit(after == kLf, top);

    Masks m;
    // A line starts after LF (in CR-only files: after CR LF) and after a CR without an LF.
    m.start = (lfBefore & (rules.lfEnds ? ~std::uint64_t{0} : crTwoBefore)) | (crBefore & ~b.lf);
    if (q == from)
        m.start |= 1;
    if (rules.look == Look::TableLines) {
        m.stop = m.start & ~(b.pct & ~(tNext | crNext | lfNext));
    } else {
        m.stop = m.start & b.pct & (tNext | eNext);
        m.record = m.start & b.pct & rNext;
    }
    m.hit = b.sub;
    if (rules.crLfOnly)
        m.hit |= (b.cr & ~lfNext) | (rules.lfEnds ? b.lf & ~crBefore : 0);
    const std::uint64_t valid =
        count == kWindow ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    m.start &= valid;
    m.stop &= valid;
    m.record &= valid;
    m.hit &= valid;
    return m;
}

std::uint64_t below(std::size_t at) {
    return (std::uint64_t{1} << at) - 1;
}

std::size_t highest(std::uint64_t mask) {
    return kWindow - 1 - static_cast<std::size_t>(std::countl_zero(mask));
}

Result drive(const char* from, const char* end, Rules rules, MaskFn vector) {
    if (end - from < 2)
        return {};
    const char* limit = end - 1; // b[p + 1] is looked at for every p examined
    const char* lastStart = from;
    std::uint64_t lastRecord = 0;
    std::uint64_t records = 0;
    for (const char* q = from; q < limit;) {
        const auto count = std::min<std::size_t>(kWindow, static_cast<std::size_t>(limit - q));
        const bool whole = vector && count == kWindow && q - from >= 2;
        const Masks m =
            combine(whole ? vector(q) : byteMasksPlain(q, count), from, q, count, rules);
        if (const std::uint64_t events = m.stop | m.hit) {
            const auto at = static_cast<std::size_t>(std::countr_zero(events));
            if (m.stop >> at & 1)
                return {static_cast<std::size_t>(q + at - from),
                        records + static_cast<std::uint64_t>(std::popcount(m.record & below(at)))};
            // A SUB byte or an odd line end: the line it lies in is read the long way.
            const std::uint64_t starts = m.start & (below(at) | std::uint64_t{1} << at);
            if (!starts)
                return {static_cast<std::size_t>(lastStart - from), records - lastRecord};
            const std::size_t top = highest(starts);
            return {static_cast<std::size_t>(q + top - from),
                    records + static_cast<std::uint64_t>(std::popcount(m.record & below(top)))};
        }
        records += static_cast<std::uint64_t>(std::popcount(m.record));
        if (m.start) {
            const std::size_t top = highest(m.start);
            lastStart = q + top;
            lastRecord = m.record >> top & 1;
        }
        q += count;
    }
    return {static_cast<std::size_t>(lastStart - from), records - lastRecord};
}

MaskFn maskFn(Engine engine) {
    if (!engineAvailable(engine))
        return nullptr;
    switch (engine) {
    case Engine::Sse2: return byteMasksSse2;
    case Engine::Avx2: return byteMasksAvx2;
    default: return nullptr;
    }
}

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
    return drive(from, end, rules, maskFn(engine));
}

Result scanLines(const char* from, const char* end, Rules rules) {
    static const MaskFn best = maskFn(bestEngine());
    return drive(from, end, rules, best);
}

} // namespace zembrel::xer::scan
