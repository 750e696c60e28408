// The vector engines of the line scan: SSE2 (always there on x86-64) and AVX2 (used when the
// processor reports it). Each has its own copy of the driver, compiled for its instruction set.
// Elsewhere the plain scan stands in and the engines report unavailable.
#include "xer/LineScan.h"

#include <algorithm>
#include <bit>

#if defined(__x86_64__) || defined(_M_X64)
#define ZEMBREL_SCAN_X86 1
#include <immintrin.h>
#endif

namespace zembrel::xer::scan {

#ifdef ZEMBREL_SCAN_X86

namespace sse2 {
namespace {

std::uint64_t maskOf(const __m128i* parts, char c) {
    const __m128i v = _mm_set1_epi8(c);
    std::uint64_t m = 0;
    for (int i = 0; i < 4; ++i) {
        const auto bits =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(parts[i], v)));
        m |= static_cast<std::uint64_t>(bits) << (16 * i);
    }
    return m;
}

ByteMasks windowMasks(const char* at) {
    __m128i parts[4];
    for (int i = 0; i < 4; ++i)
        parts[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
    return {maskOf(parts, '%'), maskOf(parts, '\r'), maskOf(parts, '\n'), maskOf(parts, '\x1a'),
            maskOf(parts, 'T'), maskOf(parts, 'E'),  maskOf(parts, 'R')};
}

bool quietWindow(const char*, Rules, std::uint64_t&, std::uint64_t&) {
    return false;
}

#include "xer/LineScanDrive.inc"

} // namespace
} // namespace sse2

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,bmi,bmi2,lzcnt"))),           \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt,bmi,bmi2,lzcnt")
#endif
namespace avx2 {
namespace {

std::uint64_t maskOf(__m256i low, __m256i high, char c) {
    const __m256i v = _mm256_set1_epi8(c);
    const auto l = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, v)));
    const auto h = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, v)));
    return static_cast<std::uint64_t>(l) | static_cast<std::uint64_t>(h) << 32;
}

ByteMasks windowMasks(const char* at) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
    return {maskOf(low, high, '%'),    maskOf(low, high, '\r'), maskOf(low, high, '\n'),
            maskOf(low, high, '\x1a'), maskOf(low, high, 'T'),  maskOf(low, high, 'E'),
            maskOf(low, high, 'R')};
}

__m256i equal(__m256i v, char c) {
    return _mm256_cmpeq_epi8(v, _mm256_set1_epi8(c));
}

std::uint64_t bitsOf(__m256i v, int half) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(v)))
           << (32 * half);
}

// The common window, settled on the bytes themselves: line starts follow LF, every CR is
// followed by LF and every LF preceded by CR, and no line start stops the scan.
bool quietWindow(const char* q, Rules rules, std::uint64_t& starts, std::uint64_t& records) {
    if (q[-1] == '\n' && q[-2] != '\r')
        return false;
    __m256i bad = _mm256_setzero_si256();
    std::uint64_t lineStarts = 0, recordStarts = 0;
    for (int half = 0; half < 2; ++half) {
        const char* p = q + 32 * half;
        const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p - 1));
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i after = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        const __m256i start = equal(before, '\n');
        const __m256i pct = equal(at, '%');
        const __m256i tAfter = equal(after, 'T');
        const __m256i lfAfter = equal(after, '\n');
        const __m256i unpaired =
            _mm256_or_si256(_mm256_xor_si256(equal(at, '\r'), lfAfter),
                            _mm256_xor_si256(equal(before, '\r'), equal(at, '\n')));
        __m256i stop;
        if (rules.look == Look::TableLines) {
            const __m256i notPlain =
                _mm256_or_si256(_mm256_or_si256(tAfter, equal(after, '\r')), lfAfter);
            stop =
                _mm256_or_si256(_mm256_andnot_si256(pct, start), _mm256_and_si256(start, notPlain));
        } else {
            const __m256i tagged = _mm256_and_si256(start, pct);
            stop = _mm256_and_si256(tagged, _mm256_or_si256(tAfter, equal(after, 'E')));
            recordStarts |= bitsOf(_mm256_and_si256(tagged, equal(after, 'R')), half);
        }
        bad = _mm256_or_si256(bad,
                              _mm256_or_si256(_mm256_or_si256(stop, equal(at, '\x1a')), unpaired));
        lineStarts |= bitsOf(start, half);
    }
    if (!_mm256_testz_si256(bad, bad))
        return false;
    starts = lineStarts;
    records = recordStarts;
    return true;
}

#include "xer/LineScanDrive.inc"

} // namespace
} // namespace avx2

Result scanAvx2(const char* from, const char* end, Rules rules) {
    return avx2::drive(from, end, rules);
}
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

Result scanSse2(const char* from, const char* end, Rules rules) {
    return sse2::drive(from, end, rules);
}

bool engineAvailable(Engine engine) {
    switch (engine) {
    case Engine::Plain:
    case Engine::Sse2: return true;
    case Engine::Avx2: {
        static const bool avx2 = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
                   __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
        }();
        return avx2;
    }
    default: return false;
    }
}

#else

Result scanSse2(const char* from, const char* end, Rules rules) {
    return scanLinesWith(Engine::Plain, from, end, rules);
}
Result scanAvx2(const char* from, const char* end, Rules rules) {
    return scanLinesWith(Engine::Plain, from, end, rules);
}
bool engineAvailable(Engine engine) {
    return engine == Engine::Plain;
}

#endif

} // namespace zembrel::xer::scan
