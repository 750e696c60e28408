#pragma once

#include "platform/Registry.h"

#include <string>
#include <vector>

namespace zembrel {

// A stand-in for the Windows registry: it answers the one lookup that names the system
// information tool, with the first of a few Linux system-information programs found on PATH,
// and nothing else.
class PosixRegistry final : public Registry {
public:
    // The programs looked for, in order.
    static const std::vector<std::string>& candidates();

    explicit PosixRegistry(std::string searchPath);
    long open(Key root, const std::string& subKey, std::uint32_t access, Key& opened) override;
    long query(Key key, const std::string& valueName, std::uint32_t& type, char* buffer,
               std::uint32_t& size) override;
    long close(Key) override { return kSuccess; }

private:
    std::string m_tool; // empty when none is installed
};

} // namespace zembrel
