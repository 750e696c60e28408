#pragma once

#include "platform/Failure.h"

#include <cstddef>
#include <string>

namespace zembrel {

// The two private-profile calls on INI-style settings files.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The key's value, or defaultValue (without its trailing blanks) when the file, the section
    // or the key is missing; at most bufferSize - 1 characters. A key present with an empty value
    // gives an empty text, not the default.
    virtual std::string getString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, std::size_t bufferSize,
                                  const std::string& file) = 0;
    // Creates or replaces the key, creating the file and the section as needed. A value that
    // holds a line end is refused.
    virtual Status writeString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) = 0;
};

} // namespace zembrel
