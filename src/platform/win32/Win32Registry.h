#pragma once

#include "platform/Registry.h"

namespace zembrel {

// The registry through RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
class Win32Registry final : public Registry {
public:
    long open(Key root, const std::string& subKey, std::uint32_t access, Key& opened) override;
    long query(Key key, const std::string& valueName, std::uint32_t& type, char* buffer,
               std::uint32_t& size) override;
    long close(Key key) override;
};

} // namespace zembrel
