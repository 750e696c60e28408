#include "media/VideoPlayerSelection.h"

#include "core/SettingsKeys.h"

namespace zembrel {

void VideoPlayerSelection::open() {
    const std::string& path = m_state.VideoPlayerPath;
    if (!path.empty())
        m_window.setRowText(m_players.rowOnOpening(path), path);
}

void VideoPlayerSelection::choose(int option) {
    if (option < 0 || option > 3)
        return;
    std::string& path = m_state.VideoPlayerPath;
    if (option == 0) {
        path.clear();
    } else {
        const PlayerRow& row = m_players.row(option);
        path = m_window.rowText(option);
        if (path.empty())
            path = row.defaultLocation;
        if (path.empty() || !m_services.files.fileExists(path))
            path = browse(row);
        m_window.setRowText(option, path);
    }
    // Not reported: the choice serves this run even when the file cannot be written.
    (void)m_services.profile.writeString(settings::kConfigureSection, settings::kVideoPlayer, path,
                                         m_state.SuiteSettingsFile);
    m_services.events.processEventsNow();
}

std::string VideoPlayerSelection::browse(const PlayerRow& row) {
    FileDialogOptions options;
    options.filter = row.filter;
    options.title = video_set_text::kDialogTitle;
    options.fileMustExist = true;
    options.hideReadOnly = true;
    options.longNames = true;
    const auto choice = m_services.dialog.open(options);
    return choice ? choice->path : std::string();
}

} // namespace zembrel
