// The vector byte masks of the line scan: SSE2 (always there on x86-64) and AVX2 (used when the
// processor reports it). Elsewhere the plain masks stand in and the engines report unavailable.
#include "xer/LineScan.h"

#if defined(__x86_64__) || defined(_M_X64)
#define ZEMBREL_SCAN_X86 1
#include <immintrin.h>
#endif

namespace zembrel::xer::scan {

#ifdef ZEMBREL_SCAN_X86

namespace {

template <typename Vec, typename Eq>
std::uint64_t maskOf(const Vec* parts, int count, int width, char c, Eq eq) {
    std::uint64_t m = 0;
    for (int i = 0; i < count; ++i)
        m |= static_cast<std::uint64_t>(eq(parts[i], c)) << (i * width);
    return m;
}

template <typename Vec, typename Eq> ByteMasks masksOf(const Vec* parts, int count, Eq eq) {
    const int width = 64 / count;
    ByteMasks m;
    m.pct = maskOf(parts, count, width, '%', eq);
    m.cr = maskOf(parts, count, width, '\r', eq);
    m.lf = maskOf(parts, count, width, '\n', eq);
    m.sub = maskOf(parts, count, width, '\x1a', eq);
    m.t = maskOf(parts, count, width, 'T', eq);
    m.e = maskOf(parts, count, width, 'E', eq);
    m.r = maskOf(parts, count, width, 'R', eq);
    return m;
}

__attribute__((target("avx2"))) std::uint64_t maskAvx2(__m256i low, __m256i high, char c) {
    const __m256i v = _mm256_set1_epi8(c);
    const auto l = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, v)));
    const auto h = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, v)));
    return static_cast<std::uint64_t>(l) | static_cast<std::uint64_t>(h) << 32;
}

} // namespace

ByteMasks byteMasksSse2(const char* at) {
    __m128i parts[4];
    for (int i = 0; i < 4; ++i)
        parts[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
    return masksOf(parts, 4, [](__m128i v, char c) {
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c))));
    });
}

__attribute__((target("avx2"))) ByteMasks byteMasksAvx2(const char* at) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
    ByteMasks m;
    m.pct = maskAvx2(low, high, '%');
    m.cr = maskAvx2(low, high, '\r');
    m.lf = maskAvx2(low, high, '\n');
    m.sub = maskAvx2(low, high, '\x1a');
    m.t = maskAvx2(low, high, 'T');
    m.e = maskAvx2(low, high, 'E');
    m.r = maskAvx2(low, high, 'R');
    return m;
}

bool engineAvailable(Engine engine) {
    switch (engine) {
    case Engine::Plain:
    case Engine::Sse2: return true;
    case Engine::Avx2: {
        static const bool avx2 = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") != 0;
        }();
        return avx2;
    }
    default: return false;
    }
}

#else

ByteMasks byteMasksSse2(const char* at) {
    return byteMasksPlain(at, 64);
}
ByteMasks byteMasksAvx2(const char* at) {
    return byteMasksPlain(at, 64);
}
bool engineAvailable(Engine engine) {
    return engine == Engine::Plain;
}

#endif

} // namespace zembrel::xer::scan
