#pragma once

// The back ends of the platform the program is built for: the one place that chooses them.
#ifdef _WIN32
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32Registry.h"
#else
#include "platform/posix/PosixEnvironment.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProfileStore.h"
#include "platform/posix/PosixRegistry.h"
#include "platform/posix/TemporaryNames.h"
#endif

#include "platform/PathRules.h"

namespace zembrel::native {

#ifdef _WIN32
using NativeFileSystem = Win32FileSystem;
using NativeProfileStore = Win32ProfileStore;
using NativeRegistry = Win32Registry;

inline PathRules pathRules(const std::string&) {
    return PathRules::windows();
}
// Interrupting the program leaves no temporary file behind.
inline void removeTemporariesOnInterrupt() {
    removeScratchFilesOnInterrupt();
}
// Windows has no signals for these: a write fails by itself.
inline void failWritesInsteadOfSignals() {}
#else
using NativeFileSystem = PosixFileSystem;
using NativeProfileStore = PosixProfileStore;
using NativeRegistry = PosixRegistry;

inline PathRules pathRules(const std::string& homeFolder) {
    return PathRules::posix(homeFolder);
}
inline void removeTemporariesOnInterrupt() {
    zembrel::removeTemporariesOnInterrupt();
}
inline void failWritesInsteadOfSignals() {
    zembrel::failWritesInsteadOfSignals();
}
#endif

} // namespace zembrel::native
