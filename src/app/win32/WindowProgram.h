#pragma once

#include "core/AppState.h"
#include "media/VoicePrompts.h"
#include "platform/Platform.h"
#include "platform/win32/Win32BusyPointer.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32FileDialog.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32HelpViewer.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32ProgramStarter.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SoundPlayer.h"
#include "shell/MainCommands.h"
#include "ui/win32/Win32ModalWindows.h"
#include "ui/win32/Win32OpenProject.h"
#include "ui/win32/Win32StartUpWindow.h"

namespace zembrel {

// The Windows window program: the Win32 back ends, the native windows and the main window's
// commands, wired as one. The program's entry point runs it; tests run it in their own process.
class WindowProgram {
public:
    // environment gives the command line and the folders; the splash stays up at least
    // minimumSplashMs.
    WindowProgram(Environment& environment, unsigned minimumSplashMs);
    ~WindowProgram();
    WindowProgram(const WindowProgram&) = delete;
    WindowProgram& operator=(const WindowProgram&) = delete;

    // The start-up sequence; false when the program ended during it (closed in the first
    // survey).
    bool startUp();
    // The message loop, until the program ends; its exit code.
    int run();

    AppState& state() { return m_state; }
    Win32OpenProject& window() { return m_window; }
    Win32StartUpWindow& windows() { return m_windows; }
    MainCommands& commands() { return m_commands; }

private:
    // The window that owns a dialog opened now: the active one, else the main window.
    void* dialogOwner() const;

    bool m_comReady;
    Environment& m_environment;
    Win32FileSystem m_files;
    Win32ProfileStore m_profile;
    Win32SoundPlayer m_sound;
    Win32MessageBoxes m_boxes;
    Win32EventPump m_events;
    Win32BusyPointer m_pointer;
    Win32ProgramStarter m_programs;
    Win32Registry m_registry;
    Win32OpenProject m_window;
    Win32HelpViewer m_help{[this]() -> void* { return m_window.handle(); }};
    Win32FileDialog m_dialog{m_help, [this] { return dialogOwner(); }};
    AppState m_state;
    WavePromptPlayer m_prompts{m_state, m_files, m_sound};
    Platform m_platform;
    Win32ModalWindows m_modals;
    ShellServices m_services;
    Win32StartUpWindow m_windows;
    MainCommands m_commands;
};

} // namespace zembrel
