#pragma once

#include "platform/ProfileStore.h"

namespace zembrel {

// The private-profile calls for platforms that lack them: reads and writes INI-style files the
// way the Windows calls do (names match regardless of case and surrounding blanks, values lose
// surrounding blanks and one pair of quotes, the first of duplicate keys wins). A write replaces
// the file atomically and leaves every line it does not change byte for byte.
class PosixProfileStore final : public ProfileStore {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override;
    Status writeString(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
};

} // namespace zembrel
