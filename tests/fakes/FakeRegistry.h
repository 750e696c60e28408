#pragma once

#include "platform/Registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace zembrel::test {

// Keys of HKEY_LOCAL_MACHINE with their values, as bytes with a type. Keeps every call, so a
// test sees the rights asked for and that every key opened was closed.
class FakeRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type = kString;
        std::string bytes;
    };
    std::map<std::string, std::map<std::string, Value>> keys;
    long refuseOpen = kSuccess; // what open answers for every key, when not kSuccess
    std::vector<std::string> calls;
    std::vector<Key> closed;

    long open(Key root, const std::string& subKey, std::uint32_t access, Key& opened) override {
        calls.push_back("open " + subKey + " " + std::to_string(access));
        opened = 0;
        if (root != kLocalMachine)
            return kFileNotFound;
        if (refuseOpen != kSuccess)
            return refuseOpen;
        const auto it = keys.find(subKey);
        if (it == keys.end())
            return kFileNotFound;
        opened = static_cast<Key>(std::distance(keys.begin(), it)) + 100;
        return kSuccess;
    }
    long query(Key key, const std::string& name, std::uint32_t& type, char* buffer,
               std::uint32_t& size) override {
        calls.push_back("query " + name);
        auto it = keys.begin();
        std::advance(it, static_cast<long>(key) - 100);
        const auto value = it->second.find(name);
        if (value == it->second.end())
            return kFileNotFound;
        type = value->second.type;
        if (value->second.bytes.size() > size)
            return kMoreData;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        std::memcpy(buffer, value->second.bytes.data(), size);
        return kSuccess;
    }
    long close(Key key) override {
        closed.push_back(key);
        return kSuccess;
    }
    // Every open was matched by a close of the key it gave (0 when it failed).
    std::size_t opens() const {
        return static_cast<std::size_t>(
            std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) { return c.starts_with("open"); }));
    }
};

} // namespace zembrel::test
