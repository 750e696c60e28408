#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "shell/OperationEvents.h"
#include "shell/ShellServices.h"
#include "shell/StartUpWindow.h"
#include "shell/WindowPlacement.h"
#include "xer/Report.h"

#include <functional>
#include <string_view>
#include <vector>

namespace zembrel {

// The main window's commands and what its controls show of them. One operation that reads or
// changes the current file runs at a time: while the first survey, a Start Over or a purge
// yields to the window, Start Over, Purge and "&Reset to Defaults" are refused (and greyed),
// and closing the window stops the running operation and shuts down once it has returned. A
// renderer draws and forwards: it connects each name of commandNames() to invoke().
class MainCommands {
public:
    MainCommands(AppState& state, MainSurface& window, StartUpWindow& windows,
                 ShellServices& services,
                 ProgressRule::Clock clock = std::chrono::steady_clock::now);
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    // The controls and menu entries that run a command, by name.
    static const std::vector<std::string_view>& commandNames();
    // Runs the command of a control or menu entry; false for a name that runs none, or a
    // command refused because another operation runs.
    bool invoke(std::string_view name);

    void startUp();
    // Each returns false when it was refused because another operation runs.
    bool startOver();
    bool purge();
    bool resetToDefaults();
    // A file dropped on the window: chosen as the dialog would choose it, then surveyed. Refused
    // while another operation runs; anything that is not an existing file is ignored.
    bool chooseDroppedFile(const std::string& path);
    void toggleVoicePrompts();
    void showVersion();
    void showHelp();
    // "&Video": the tutorial video beside the executable, in the chosen player.
    void playVideo();
    // File "Video &Player": the player selection window, modal.
    void chooseVideoPlayer();
    // Help "&About Scourvane": the About window, modal.
    void showAbout();
    // "&Done" and File "&Exit": the window closes as by its close box.
    void closeWindow();
    // The window's close, by "&Done", File "&Exit" or the close box: true when shut-down has
    // run and the window may close, false when it waits for the running operation to stop.
    bool requestClose();

    bool running() const { return m_running != Operation::None; }
    bool ended() const { return m_shuttingDown; }
    // Told whenever an operation starts or ends.
    std::function<void(bool running)> onRunningChanged;

private:
    enum class Operation { None, Survey, Purge, Settings };
    // Runs one operation, unless another one runs; shuts down afterwards when asked meanwhile.
    bool run(Operation kind, const std::function<void()>& operation);
    // Purge belongs to the file that was surveyed: enabled only by a survey that found records.
    void surveyed(const xer::SurveyReport& report);
    // Shows what the running operation and the last survey allow.
    void showControls();
    void shutDown();

    AppState& m_state;
    MainSurface& m_window;
    StartUpWindow& m_windows;
    OperationEvents m_events;
    Platform m_platform;
    ShellServices m_services;
    ProgressRule m_progress;
    Operation m_running = Operation::None;
    bool m_purgeAllowed = false;
    bool m_closeRequested = false;
    bool m_shuttingDown = false;
};

} // namespace zembrel
