#pragma once

#include <string>

namespace zembrel {

// Shows a compiled help file on its table of contents, in the platform's help viewer. Whatever
// goes wrong (a missing file included) is the viewer's to report.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContents(const std::string& helpFile) = 0;
};

} // namespace zembrel
