#pragma once

#include "platform/HelpViewer.h"

#include <string>
#include <vector>

namespace zembrel::test {

class FakeHelpViewer final : public HelpViewer {
public:
    std::vector<std::string> shown;
    void showContents(const std::string& helpFile) override { shown.push_back(helpFile); }
};

} // namespace zembrel::test
