#include "media/PlayVideo.h"

namespace zembrel {

namespace {

Status startPlayer(const AppState& state, const std::string& video, EventPump& events,
                   ProgramStarter& programs) {
    const std::string& player = state.VideoPlayerPath;
    if (player.empty())
        return Failure{failure::FileNotFound, ""};
    const char quote = state.QuoteChar;
    const std::string line =
        quote + player + quote + video_text::kPlayerSwitches + quote + video + quote;
    constexpr auto show = ProgramStarter::Show::MinimizedActive;
    if (player.find("wmplayer") != std::string::npos) {
        if (const Status first = programs.start(line, show); !first)
            return first;
        events.processEventsNow();
    }
    return programs.start(line, show);
}

} // namespace

std::string tutorialVideoPath(const std::string& executableFolder, const PathRules& paths) {
    return executableFolder + paths.separator + video_text::kVideoFileName;
}

void PlayVideo(const AppState& state, const std::string& video, Platform& platform,
               ProgramStarter& programs, ModalWindows& windows) {
    if (!platform.files.fileExists(video)) {
        platform.boxes.show("Video file " + video + " was not found.", MessageButtons::Ok,
                            MessageIcon::Information, kAppTitle);
        return;
    }
    const Status started = startPlayer(state, video, platform.events, programs);
    if (started)
        return;
    platform.boxes.show("Error: " + started.failure().description + '\n' +
                            video_text::kChooseAnother,
                        MessageButtons::Ok, MessageIcon::Exclamation, kAppTitle);
    windows.showVideoPlayerWindow();
}

} // namespace zembrel
