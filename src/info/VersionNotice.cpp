#include "info/VersionNotice.h"

#include "core/Version.h"

namespace zembrel {

void ShowVersionNotice(MessageBoxes& boxes) {
    boxes.show(std::string("Version Number ") + kVersionText, MessageButtons::Ok, MessageIcon::None,
               kVersionNoticeTitle);
}

std::string SplashVersionText() {
    return std::string("Zembrel Version ") + kFullVersionText;
}

void ShowHelpContents(const AppState& state, HelpViewer& help) {
    help.showContents(state.HelpFilePath);
}

} // namespace zembrel
