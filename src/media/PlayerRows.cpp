#include "media/PlayerRows.h"

namespace zembrel {

namespace {

bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

} // namespace

int PlayerRows::rowOnOpening(const std::string& path) const {
    for (int option = 1; option <= 2; ++option) {
        const std::string& ending = row(option).pathEnding;
        if (!ending.empty() && endsWith(path, ending))
            return option;
    }
    return 3;
}

PlayerRows PlayerRows::windows() {
    return {{{{"&Windows Media", "C:\\Program Files\\Windows Media Player\\wmplayer.exe",
               "wmplayer.exe", "Windows Media File|wmplayer.exe"},
              {"&Real One Player", "C:\\Program Files\\Real\\RealOne Player\\realplay.exe",
               "realplay.exe", "Real One Player|realplay.exe"},
              {"&Other Player", "", "", "Video Player|*.exe"}}}};
}

PlayerRows PlayerRows::posix() {
    return {{{{"&VLC player", "/usr/bin/vlc", "/vlc", "VLC media player|vlc"},
              {"&mpv player", "/usr/bin/mpv", "/mpv", "mpv|mpv"},
              {"&Other Player", "", "", "Video Player|*"}}}};
}

} // namespace zembrel
