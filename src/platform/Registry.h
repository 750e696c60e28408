#pragma once

#include <cstdint>
#include <string>

namespace zembrel {

// The Windows registry's three calls, as the system-information button uses them. Results are
// the calls' own codes: 0 for success, an error code otherwise.
class Registry {
public:
    using Key = std::uintptr_t; // 0: no key
    static constexpr Key kLocalMachine = 0x80000002;
    static constexpr long kSuccess = 0;
    static constexpr long kFileNotFound = 2;
    static constexpr long kAccessDenied = 5;
    static constexpr long kMoreData = 234;
    static constexpr std::uint32_t kString = 1; // REG_SZ
    static constexpr std::uint32_t kBinary = 3; // REG_BINARY
    static constexpr std::uint32_t kNumber = 4; // REG_DWORD

    virtual ~Registry() = default;
    // RegOpenKeyExA: opens subKey under root with the access rights asked for.
    virtual long open(Key root, const std::string& subKey, std::uint32_t access, Key& opened) = 0;
    // RegQueryValueExA: copies the value into buffer; size is the buffer's size on the way in
    // and the number of bytes stored on the way out. A value larger than the buffer is
    // kMoreData.
    virtual long query(Key key, const std::string& valueName, std::uint32_t& type, char* buffer,
                       std::uint32_t& size) = 0;
    // RegCloseKey.
    virtual long close(Key key) = 0;
};

} // namespace zembrel
