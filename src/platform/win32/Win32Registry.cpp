#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace zembrel {

namespace {
HKEY handle(Registry::Key key) {
    return reinterpret_cast<HKEY>(key);
}
} // namespace

long Win32Registry::open(Key root, const std::string& subKey, std::uint32_t access, Key& opened) {
    HKEY key = nullptr;
    const LONG result = ::RegOpenKeyExA(handle(root), subKey.c_str(), 0, access, &key);
    opened = result == ERROR_SUCCESS ? reinterpret_cast<Key>(key) : 0;
    return result;
}

long Win32Registry::query(Key key, const std::string& valueName, std::uint32_t& type, char* buffer,
                          std::uint32_t& size) {
    DWORD valueType = 0;
    DWORD bytes = size;
    const LONG result = ::RegQueryValueExA(handle(key), valueName.c_str(), nullptr, &valueType,
                                           reinterpret_cast<BYTE*>(buffer), &bytes);
    type = valueType;
    size = bytes;
    return result;
}

long Win32Registry::close(Key key) {
    return ::RegCloseKey(handle(key));
}

} // namespace zembrel
