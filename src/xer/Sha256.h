#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zembrel::xer {

// SHA-256 (FIPS 180-4), fed in pieces. Here because risk-type ids of any length must be told
// apart in bounded memory, and the logic is standard C++ that both platforms' programs link
// without a cryptography library.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void add(const char* data, std::size_t size);
    Digest finish();

private:
    void block(const std::uint8_t* p);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_pending{};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_length = 0;
};

} // namespace zembrel::xer
