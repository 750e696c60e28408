#include "platform/win32/Win32ProgramStarter.h"

#include <windows.h>

namespace zembrel {

namespace {

Failure startFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return makeFailure(failure::FileNotFound);
    case ERROR_PATH_NOT_FOUND: return makeFailure(failure::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return makeFailure(failure::PermissionDenied);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return makeFailure(failure::BadFileName);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return makeFailure(failure::OutOfMemory);
    default: return makeFailure(failure::InvalidCall); // not a program, or refused
    }
}

} // namespace

Status Win32ProgramStarter::start(const std::string& commandLine, Show show) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the line it is given.
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return startFailure(GetLastError());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

} // namespace zembrel
