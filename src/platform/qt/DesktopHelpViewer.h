#pragma once

#include "platform/HelpViewer.h"

namespace zembrel {

// Opens the help file with the desktop's handler for its type (a .chm viewer where one is
// installed). A missing file or a missing viewer is the desktop's to report.
class DesktopHelpViewer final : public HelpViewer {
public:
    void showContents(const std::string& helpFile) override;
};

} // namespace zembrel
