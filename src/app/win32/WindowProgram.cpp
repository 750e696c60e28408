#include "app/win32/WindowProgram.h"

#include "info/SysInfo.h"
#include "media/PlayerRows.h"
#include "platform/win32/Win32MessageLoop.h"
#include "ui/win32/Win32FrmSplash.h"

// windows.h (through the headers) first: the other Windows headers need its types.
#include <commctrl.h>
#include <objbase.h>

namespace zembrel {

namespace {

// The common controls of version 6 (the manifest asks for them) and the shell's COM objects,
// which the file dialog uses, before the first window.
bool prepareWindowing() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    return SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

} // namespace

WindowProgram::WindowProgram(Environment& environment, unsigned minimumSplashMs)
    : m_comReady(prepareWindowing()), m_environment(environment),
      m_platform{
          m_files, m_boxes, m_events, m_pointer, Platform::kDefaultBlockSize, PathRules::windows()},
      m_modals(m_state, PlayerRows::windows(), {m_files, m_dialog, m_profile, m_events},
               [this] { StartSysInfo(m_registry, m_files, m_programs, m_boxes); }),
      m_services{m_platform, m_environment, m_profile,  m_dialog,
                 m_help,     m_prompts,     m_programs, m_modals},
      m_windows(m_window, m_pointer, minimumSplashMs),
      m_commands(m_state, m_window, m_windows, m_services) {
    m_modals.setOwner([this] { return m_window.handle(); });
    // A message of the start-up (a wrong /INI= option) shows while the splash is up.
    m_boxes.setCovering(
        [this]() -> HWND { return m_windows.splash() ? m_windows.splash()->handle() : nullptr; });
    m_window.attach(m_commands);
}

WindowProgram::~WindowProgram() {
    m_help.closeAll();
    if (m_comReady)
        CoUninitialize();
}

void* WindowProgram::dialogOwner() const {
    const HWND active = GetActiveWindow();
    return active ? active : m_window.handle();
}

bool WindowProgram::startUp() {
    m_commands.startUp();
    return !m_windows.ended();
}

int WindowProgram::run() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        dispatchMessage(message);
    // The help viewer's windows live in this process: closed before it ends.
    m_help.closeAll();
    return static_cast<int>(message.wParam);
}

} // namespace zembrel
