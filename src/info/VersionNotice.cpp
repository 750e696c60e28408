#include "info/VersionNotice.h"

namespace zembrel {

void ShowVersionNotice(MessageBoxes& boxes) {
    boxes.show(std::string("Version Number ") + kVersionText, MessageButtons::Ok, MessageIcon::None,
               kVersionNoticeTitle);
}

std::string SplashVersionText() {
    return "Zembrel Version " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

void ShowHelpContents(const AppState& state, HelpViewer& help) {
    help.showContents(state.HelpFilePath);
}

} // namespace zembrel
