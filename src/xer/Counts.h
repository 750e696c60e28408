#pragma once

#include <cstdint>
#include <limits>

namespace zembrel::xer {

// The program's counts are 32-bit numbers: a count that would pass the largest one is an
// overflow, reported as such, never a wrapped number.

// Adds one; false on overflow.
inline bool countOne(std::int32_t& count) {
    if (count == std::numeric_limits<std::int32_t>::max())
        return false;
    ++count;
    return true;
}

// Adds many; false on overflow, with the count where adding one at a time would have left it.
inline bool countMany(std::int32_t& count, std::uint64_t many) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    if (many > static_cast<std::uint64_t>(kMax - count)) {
        count = kMax;
        return false;
    }
    count += static_cast<std::int32_t>(many);
    return true;
}

} // namespace zembrel::xer
