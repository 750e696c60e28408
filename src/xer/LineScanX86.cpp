// The vector engines of the line scan: SSE2 (always there on x86-64) and AVX2 (used when the
// processor reports it). Each has its own copy of the driver, compiled for its instruction set.
// Elsewhere the plain scan stands in and the engines report unavailable.
#include "xer/LineScan.h"

#include <algorithm>
#include <array>
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

// SSE2 has no byte shuffle: the sets are tested with one compare per member.
struct V {
    using T = __m128i;
    static constexpr std::size_t kWidth = 16;
    static T zero() { return _mm_setzero_si128(); }
    static T load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static T eq(T v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }
    static T bitAnd(T a, T b) { return _mm_and_si128(a, b); }
    static T bitOr(T a, T b) { return _mm_or_si128(a, b); }
    static T bitXor(T a, T b) { return _mm_xor_si128(a, b); }
    static T andNot(T a, T b) { return _mm_andnot_si128(a, b); }
    static T tagEnd(T v) { return bitOr(bitOr(eq(v, 'T'), eq(v, '\r')), eq(v, '\n')); }
    static T tableEnd(T v) { return bitOr(eq(v, 'T'), eq(v, 'E')); }
    static std::uint32_t mask(T v) { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
    static bool any(T v) { return mask(v) != 0; }
};

#include "xer/LineScanQuiet.inc"

#include "xer/LineScanDrive.inc"

} // namespace
} // namespace sse2

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,bmi,bmi2,lzcnt"))),                \
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

// A set of bytes with distinct low nibbles, one lookup: each byte's low nibble picks the member
// that it would have to be, and the byte is in the set when it is that member. (A byte with its
// high bit set looks up 0, which it is not.)
__m256i inSet(__m256i v, __m256i members) {
    return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(members, v), v);
}

// The members by low nibble; 0xff stands for none, since 0xff itself looks up 0.
template <char... members> __m256i membersOf() {
    constexpr auto t = [] {
        std::array<char, 16> table{};
        table.fill('\xff');
        for (const char c : {members...})
            table[static_cast<std::size_t>(c & 0xf)] = c;
        return table;
    }();
    return _mm256_setr_epi8(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10],
                            t[11], t[12], t[13], t[14], t[15], t[0], t[1], t[2], t[3], t[4], t[5],
                            t[6], t[7], t[8], t[9], t[10], t[11], t[12], t[13], t[14], t[15]);
}

struct V {
    using T = __m256i;
    static constexpr std::size_t kWidth = 32;
    static T zero() { return _mm256_setzero_si256(); }
    static T load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static T eq(T v, char c) { return _mm256_cmpeq_epi8(v, _mm256_set1_epi8(c)); }
    static T bitAnd(T a, T b) { return _mm256_and_si256(a, b); }
    static T bitOr(T a, T b) { return _mm256_or_si256(a, b); }
    static T bitXor(T a, T b) { return _mm256_xor_si256(a, b); }
    static T andNot(T a, T b) { return _mm256_andnot_si256(a, b); }
    static T tagEnd(T v) { return inSet(v, membersOf<'T', '\r', '\n'>()); }
    static T tableEnd(T v) { return inSet(v, membersOf<'T', 'E'>()); }
    static std::uint32_t mask(T v) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); }
    static bool any(T v) { return !_mm256_testz_si256(v, v); }
};

#include "xer/LineScanQuiet.inc"

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
