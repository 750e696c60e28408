#pragma once

#include "platform/FileSystem.h"
#include "platform/ProgramStarter.h"
#include "platform/Registry.h"
#include "platform/Ui.h"

#include <string>

namespace zembrel {

namespace sysinfo {
inline constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kToolValue = "PATH";
inline constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kFolderValue = "MSINFO";
inline constexpr const char* kToolName = "\\MSINFO32.EXE";
inline constexpr std::uint32_t kAccessRights = 0x2003F;
inline constexpr std::uint32_t kBufferSize = 1024;
inline constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
} // namespace sysinfo

// Reads one registry value as text into keyVal: a string as it is stored, less a terminating
// NUL; a 32-bit number in decimal. False, with keyVal empty, when the key or the value cannot be
// read. A value of size 0 is a failure of the caller's run, not a false. The key is closed on
// every path.
Outcome<bool> GetKeyValue(Registry& registry, Registry::Key keyRoot, const std::string& keyName,
                          const std::string& subKeyRef, std::string& keyVal);

// "&System Info...": starts the system information tool that the registry names, or says that
// it is unavailable.
void StartSysInfo(Registry& registry, FileSystem& files, ProgramStarter& programs,
                  MessageBoxes& boxes);

} // namespace zembrel
