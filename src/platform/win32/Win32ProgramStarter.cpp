#include "platform/win32/Win32ProgramStarter.h"

#include "platform/win32/Win32Errors.h"

#include <windows.h>

namespace zembrel {

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
        return failureFromWin32(GetLastError());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

} // namespace zembrel
