#include "platform/win32/Win32ProfileStore.h"

#include "platform/IniText.h"

#include <windows.h>

#include <vector>

namespace zembrel {

std::string Win32ProfileStore::getString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize,
                                         const std::string& file) {
    if (bufferSize == 0)
        return {};
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD n =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                 static_cast<DWORD>(bufferSize), file.c_str());
    return std::string(buffer.data(), n);
}

Status Win32ProfileStore::writeString(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& file) {
    // The same refusals as on every platform: a line end in the value would become lines of
    // its own in the file.
    if (!ini::isWritable(section, key, value))
        return makeFailure(failure::InvalidCall);
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str())) {
        switch (GetLastError()) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: return makeFailure(failure::PermissionDenied);
        case ERROR_PATH_NOT_FOUND: return makeFailure(failure::PathNotFound);
        case ERROR_DISK_FULL: return makeFailure(failure::DiskFull);
        default: return makeFailure(failure::PathFileAccessError);
        }
    }
    return {};
}

} // namespace zembrel
