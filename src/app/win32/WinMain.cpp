// The Windows window program.
#include "app/win32/WindowProgram.h"
#include "platform/win32/Win32Environment.h"

#include <windows.h>

namespace {
// Long enough to read the splash window, short enough not to hold anyone up.
constexpr unsigned kMinimumSplashMs = 1200;
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zembrel::Win32Environment environment;
    zembrel::WindowProgram program(environment, kMinimumSplashMs);
    if (!program.startUp()) // closed during the first survey
        return 0;
    return program.run();
}
