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

#include "xer/LineScanDrive.inc"

} // namespace
} // namespace sse2

#pragma GCC push_options
#pragma GCC target("avx2,popcnt,bmi,bmi2,lzcnt")
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

#include "xer/LineScanDrive.inc"

} // namespace
} // namespace avx2

Result scanAvx2(const char* from, const char* end, Rules rules) {
    return avx2::drive(from, end, rules);
}
#pragma GCC pop_options

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
