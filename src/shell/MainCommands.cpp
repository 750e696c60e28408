#include "shell/MainCommands.h"

#include "info/VersionNotice.h"
#include "media/PlayVideo.h"
#include "media/VoicePrompts.h"
#include "shell/GetFilename.h"
#include "shell/Settings.h"
#include "shell/StartUp.h"
#include "xer/Purge.h"

namespace zembrel {

MainCommands::MainCommands(AppState& state, MainSurface& window, StartUpWindow& windows,
                           ShellServices& services)
    : m_state(state), m_window(window), m_windows(windows), m_events(services.platform.events),
      m_platform{services.platform.files,   services.platform.boxes,     m_events,
                 services.platform.pointer, services.platform.blockSize, services.platform.paths},
      m_services{m_platform,    services.environment, services.profile,  services.dialog,
                 services.help, services.prompts,     services.programs, services.windows} {}

bool MainCommands::run(const std::function<void()>& operation) {
    if (m_running || m_shuttingDown)
        return false;
    m_running = true;
    if (onRunningChanged)
        onRunningChanged(true);
    operation();
    m_running = false;
    if (onRunningChanged)
        onRunningChanged(false);
    if (m_closeRequested)
        shutDown();
    return true;
}

void MainCommands::startUp() {
    run([this] { StartUp(m_state, m_window, m_windows, m_services); });
}

bool MainCommands::startOver() {
    return run([this] {
        StartOver(m_state, m_window, m_platform, m_services.dialog, m_services.profile);
    });
}

bool MainCommands::purge() {
    return run([this] { xer::Purge(m_state, m_window, m_platform, m_services.prompts); });
}

bool MainCommands::chooseDroppedFile(const std::string& path) {
    if (!m_platform.files.fileExists(path))
        return false;
    return run([this, path] {
        TakeChosenFile(m_state, m_window, m_services.profile, m_platform.paths,
                       {path, m_platform.paths.nameOf(path)});
        xer::PerformSurvey(m_state, m_window, m_platform);
    });
}

bool MainCommands::resetToDefaults() {
    return run([this] { ResetSettings(m_state, m_window, m_services.profile, m_platform); });
}

void MainCommands::toggleVoicePrompts() {
    ToggleVoicePrompts(m_state, m_window);
}

void MainCommands::showVersion() {
    ShowVersionNotice(m_platform.boxes);
}

void MainCommands::showHelp() {
    ShowHelpContents(m_state, m_services.help);
}

void MainCommands::playVideo() {
    const std::string video =
        tutorialVideoPath(m_services.environment.executableFolder(), m_platform.paths);
    PlayVideo(m_state, video, m_platform, m_services.programs, m_services.windows);
}

void MainCommands::showAbout() {
    m_services.windows.showAboutWindow();
}

void MainCommands::chooseVideoPlayer() {
    m_services.windows.showVideoPlayerWindow();
}

bool MainCommands::requestClose() {
    if (m_shuttingDown)
        return true;
    if (m_running) {
        m_closeRequested = true;
        m_events.requestStop();
        return false;
    }
    shutDown();
    return true;
}

void MainCommands::shutDown() {
    m_shuttingDown = true;
    ShutDown(m_state, m_window, m_windows, m_services);
}

} // namespace zembrel
