#include "shell/MainCommands.h"

#include "info/VersionNotice.h"
#include "media/PlayVideo.h"
#include "media/VoicePrompts.h"
#include "shell/GetFilename.h"
#include "shell/Settings.h"
#include "shell/StartUp.h"
#include "shell/WindowOperations.h"

namespace zembrel {

namespace {

using Command = void (*)(MainCommands&);

struct NamedCommand {
    std::string_view name;
    Command command;
};

// Each control and menu entry of the main window, and what it runs.
const NamedCommand kCommands[] = {
    {"cmdVideo", [](MainCommands& c) { c.playVideo(); }},
    {"cmdAgain", [](MainCommands& c) { c.startOver(); }},
    {"cmdPurge", [](MainCommands& c) { c.purge(); }},
    {"mnuFileVersion", [](MainCommands& c) { c.showVersion(); }},
    {"mnuFileVideo", [](MainCommands& c) { c.chooseVideoPlayer(); }},
    // The entry's check mark follows the switch, which the command sets.
    {"mnuFileVoice", [](MainCommands& c) { c.toggleVoicePrompts(); }},
    {"mnuReset", [](MainCommands& c) { c.resetToDefaults(); }},
    {"mnuHelpContents", [](MainCommands& c) { c.showHelp(); }},
    {"nmuHelpAbout", [](MainCommands& c) { c.showAbout(); }},
    // Both close the window as its close box does; the close asks requestClose().
    {"Cancel", [](MainCommands& c) { c.closeWindow(); }},
    {"mnuFileExit", [](MainCommands& c) { c.closeWindow(); }},
};

} // namespace

MainCommands::MainCommands(AppState& state, MainSurface& window, StartUpWindow& windows,
                           ShellServices& services, ProgressRule::Clock clock)
    : m_state(state), m_window(window), m_windows(windows), m_events(services.platform.events),
      m_platform{services.platform.files,   services.platform.boxes,     m_events,
                 services.platform.pointer, services.platform.blockSize, services.platform.paths},
      m_services{m_platform,    services.environment, services.profile,  services.dialog,
                 services.help, services.prompts,     services.programs, services.windows},
      m_progress(std::move(clock)) {
    m_events.onProgress = [this](std::uint64_t done, std::uint64_t total) {
        if (const auto shown = m_progress.shown(done, total))
            m_window.setProgress(shown);
    };
}

const std::vector<std::string_view>& MainCommands::commandNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const NamedCommand& c : kCommands)
            all.push_back(c.name);
        return all;
    }();
    return names;
}

bool MainCommands::invoke(std::string_view name) {
    for (const NamedCommand& c : kCommands) {
        if (c.name == name) {
            c.command(*this);
            return true;
        }
    }
    return false;
}

void MainCommands::closeWindow() {
    m_window.closeWindow();
}

bool MainCommands::run(Operation kind, const std::function<void()>& operation) {
    if (m_running != Operation::None || m_shuttingDown)
        return false;
    m_running = kind;
    m_progress.start();
    showControls();
    if (onRunningChanged)
        onRunningChanged(true);
    operation();
    m_running = Operation::None;
    m_window.setProgress(std::nullopt);
    showControls();
    if (onRunningChanged)
        onRunningChanged(false);
    if (m_closeRequested)
        shutDown();
    return true;
}

void MainCommands::showControls() {
    const bool idle = m_running == Operation::None;
    m_window.setControlEnabled("cmdPurge", m_purgeAllowed && idle);
    m_window.setPurgeCaption(m_running == Operation::Purge ? "working..." : "Purge");
    m_window.setControlEnabled("Cancel", m_running != Operation::Purge);
    // What would change the current file waits for the running operation.
    m_window.setControlEnabled("cmdAgain", idle);
    m_window.setControlEnabled("mnuReset", idle);
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
