#include "shell/MainCommands.h"

#include "info/VersionNotice.h"
#include "media/PlayVideo.h"
#include "media/VoicePrompts.h"
#include "shell/GetFilename.h"
#include "shell/Settings.h"
#include "shell/StartUp.h"
#include "shell/WindowOperations.h"

namespace zembrel {

MainCommands::MainCommands(AppState& state, MainSurface& window, StartUpWindow& windows,
                           ShellServices& services)
    : m_state(state), m_window(window), m_windows(windows), m_events(services.platform.events),
      m_platform{services.platform.files,   services.platform.boxes,     m_events,
                 services.platform.pointer, services.platform.blockSize, services.platform.paths},
      m_services{m_platform,    services.environment, services.profile,  services.dialog,
                 services.help, services.prompts,     services.programs, services.windows} {}

bool MainCommands::run(Operation kind, const std::function<void()>& operation) {
    if (m_running != Operation::None || m_shuttingDown)
        return false;
    m_running = kind;
    showControls();
    if (onRunningChanged)
        onRunningChanged(true);
    operation();
    m_running = Operation::None;
    showControls();
    if (onRunningChanged)
        onRunningChanged(false);
    if (m_closeRequested)
        shutDown();
    return true;
}

void MainCommands::showControls() {
    m_window.setPurgeEnabled(m_purgeAllowed && m_running == Operation::None);
    m_window.setPurgeCaption(m_running == Operation::Purge ? "working..." : "Purge");
    m_window.setDoneEnabled(m_running != Operation::Purge);
}

void MainCommands::surveyed(const xer::SurveyReport& report) {
    // A survey that found no file leaves Purge to the file surveyed before; any other ending
    // decides it, so that Purge never runs on one file with another file's counts.
    if (report.outcome != xer::SurveyOutcome::NotSpecified &&
        report.outcome != xer::SurveyOutcome::NotFound)
        m_purgeAllowed = report.foundRecords();
}

void MainCommands::startUp() {
    run(Operation::Survey, [this] { surveyed(StartUp(m_state, m_window, m_windows, m_services)); });
}

bool MainCommands::startOver() {
    return run(Operation::Survey, [this] {
        surveyed(StartOver(m_state, m_window, m_platform, m_services.dialog, m_services.profile));
    });
}

bool MainCommands::purge() {
    return run(Operation::Purge, [this] {
        // Only a new survey enables Purge again, whatever became of this one.
        m_purgeAllowed = false;
        PurgeInWindow(m_state, m_window, m_platform, m_services.prompts);
    });
}

bool MainCommands::chooseDroppedFile(const std::string& path) {
    if (!m_platform.files.fileExists(path))
        return false;
    return run(Operation::Survey, [this, path] {
        TakeChosenFile(m_state, m_window, m_services.profile, m_platform.paths,
                       {path, m_platform.paths.nameOf(path)});
        surveyed(SurveyInWindow(m_state, m_window, m_platform));
    });
}

bool MainCommands::resetToDefaults() {
    return run(Operation::Settings,
               [this] { ResetSettings(m_state, m_window, m_services.profile, m_platform); });
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
    if (m_running != Operation::None) {
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
