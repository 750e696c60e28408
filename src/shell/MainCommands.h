#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "shell/OperationEvents.h"
#include "shell/ShellServices.h"
#include "shell/StartUpWindow.h"
#include "xer/Report.h"

#include <functional>

namespace zembrel {

// The main window's commands. One operation that reads or changes the current file runs at a
// time: while the first survey, a Start Over or a purge yields to the window, Start Over, Purge
// and "&Reset to Defaults" are refused, and closing the window stops the running operation and
// shuts down once it has returned.
class MainCommands {
public:
    MainCommands(AppState& state, MainSurface& window, StartUpWindow& windows,
                 ShellServices& services);
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

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
    // The window's close, by "&Done", File "&Exit" or the close box: true when shut-down has
    // run and the window may close, false when it waits for the running operation to stop.
    bool requestClose();

    bool running() const { return m_running != Operation::None; }
    bool ended() const { return m_shuttingDown; }
    // Told whenever an operation starts or ends, so the window can grey out what it refuses.
    std::function<void(bool running)> onRunningChanged;
    // Told how far the running operation has come through its file, in bytes.
    void setProgressListener(std::function<void(std::uint64_t done, std::uint64_t total)> l) {
        m_events.onProgress = std::move(l);
    }

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
    Operation m_running = Operation::None;
    bool m_purgeAllowed = false;
    bool m_closeRequested = false;
    bool m_shuttingDown = false;
};

} // namespace zembrel
