#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace zembrel::test {

// True when the tests run under Wine rather than Windows: the few checks where Wine is known to
// differ from Windows are skipped there, with the reason.
inline bool underWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace zembrel::test
