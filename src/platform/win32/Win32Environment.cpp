#include "platform/win32/Win32Environment.h"

// windows.h first: the other Windows headers need its types.
#include <windows.h>

#include <shlobj.h>

namespace zembrel {

namespace {

Outcome<std::string> specialFolder(int id) {
    char buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, 0, buffer)) || buffer[0] == '\0')
        return makeFailure(failure::PathNotFound);
    return std::string(buffer);
}

} // namespace

std::string Win32Environment::executableFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string Win32Environment::commandLine() {
    const char* line = GetCommandLineA();
    return argumentsOfCommandLine(line ? line : "");
}

Outcome<std::string> Win32Environment::localAppDataFolder() {
    return specialFolder(CSIDL_LOCAL_APPDATA);
}

std::string Win32Environment::homeFolder() {
    auto profile = specialFolder(CSIDL_PROFILE);
    return profile ? profile.value() : std::string();
}

} // namespace zembrel
