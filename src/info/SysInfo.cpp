#include "info/SysInfo.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace zembrel {

namespace {

// Closes the key however the lookup ends; its result is not looked at.
class OpenKey {
public:
    OpenKey(Registry& registry) : m_registry(registry) {}
    ~OpenKey() { (void)m_registry.close(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    Registry::Key& key() { return m_key; }

private:
    Registry& m_registry;
    Registry::Key m_key = 0;
};

// The number that "&h" + hex digits stands for, as the general formatting of such a text
// gives it: in decimal.
std::string hexToDecimal(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char c : digits)
        value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    return std::to_string(value);
}

// A number value: the character codes from the last to the first, in hexadecimal without
// leading zeros each.
std::string numberText(std::string keyVal, std::string_view trimmed) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (auto c = trimmed.rbegin(); c != trimmed.rend(); ++c) {
        const auto code = static_cast<unsigned char>(*c);
        if (code >= 16)
            keyVal += kHex[code >> 4];
        keyVal += kHex[code & 15];
    }
    if (keyVal.empty() || keyVal.size() > 16 || keyVal.find_first_not_of(kHex) != std::string::npos)
        return "&h" + keyVal; // not a number: the text stays as it is
    return hexToDecimal(keyVal);
}

} // namespace

Outcome<bool> GetKeyValue(Registry& registry, Registry::Key keyRoot, const std::string& keyName,
                          const std::string& subKeyRef, std::string& keyVal) {
    using namespace sysinfo;
    OpenKey key(registry);
    if (registry.open(keyRoot, keyName, kAccessRights, key.key()) != Registry::kSuccess) {
        keyVal.clear();
        return false;
    }
    std::vector<char> buffer(kBufferSize, '\0');
    std::uint32_t size = kBufferSize;
    std::uint32_t type = 0;
    if (registry.query(key.key(), subKeyRef, type, buffer.data(), size) != Registry::kSuccess ||
        size > kBufferSize) {
        keyVal.clear();
        return false;
    }
    if (size == 0) // no character to look at
        return makeFailure(failure::InvalidCall);
    const std::string_view trimmed(buffer.data(), buffer[size - 1] == '\0' ? size - 1 : size);
    if (type == Registry::kString)
        keyVal = trimmed;
    else if (type == Registry::kNumber)
        keyVal = numberText(keyVal, trimmed);
    return true;
}

void StartSysInfo(Registry& registry, FileSystem& files, ProgramStarter& programs,
                  MessageBoxes& boxes) {
    using namespace sysinfo;
    const auto unavailable = [&] {
        boxes.show(kUnavailable, MessageButtons::Ok, MessageIcon::None, kAppTitle);
    };
    std::string command;
    auto found = GetKeyValue(registry, Registry::kLocalMachine, kToolKey, kToolValue, command);
    if (!found)
        return unavailable();
    if (!*found) {
        found = GetKeyValue(registry, Registry::kLocalMachine, kFolderKey, kFolderValue, command);
        if (!found || !*found)
            return unavailable();
        command += kToolName;
        if (!files.fileExists(command))
            return unavailable();
    }
    if (!programs.start(command, ProgramStarter::Show::Normal))
        unavailable();
}

} // namespace zembrel
