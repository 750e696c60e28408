#pragma once

#include "platform/ProfileStore.h"

namespace zembrel {

// The private-profile calls of kernel32.
class Win32ProfileStore final : public ProfileStore {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override;
    Status writeString(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
};

} // namespace zembrel
