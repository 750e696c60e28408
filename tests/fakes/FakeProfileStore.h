#pragma once

#include "platform/IniText.h"
#include "platform/ProfileStore.h"

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace zembrel::test {

// Settings files in memory: file -> section -> key -> value, names compared as given. Keeps the
// calls in order, with their defaults and buffer sizes; refuses what every store refuses.
class FakeProfileStore final : public ProfileStore {
public:
    struct Read {
        std::string section, key, defaultValue;
        std::size_t bufferSize;
        std::string file;
    };
    struct Write {
        std::string section, key, value, file;
    };
    using Key = std::tuple<std::string, std::string, std::string>; // file, section, key

    std::map<Key, std::string> values;
    std::vector<Read> reads;
    std::vector<Write> writes;
    // When set, a file for which it answers false holds nothing (lets a test delete a file).
    std::function<bool(const std::string&)> fileExists;

    void set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) {
        values[{file, section, key}] = value;
    }
    const std::string* get(const std::string& file, const std::string& section,
                           const std::string& key) const {
        const auto it = values.find({file, section, key});
        return it == values.end() ? nullptr : &it->second;
    }

    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override {
        reads.push_back({section, key, defaultValue, bufferSize, file});
        const std::string* value =
            !fileExists || fileExists(file) ? get(file, section, key) : nullptr;
        std::string result = value ? *value : defaultValue;
        return result.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
    }
    Status writeString(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override {
        if (!ini::isWritable(section, key, value))
            return makeFailure(failure::InvalidCall);
        writes.push_back({section, key, value, file});
        set(file, section, key, value);
        return {};
    }
};

} // namespace zembrel::test
