#pragma once

#include "core/ModalWindows.h"

#include <functional>
#include <string>
#include <vector>

namespace zembrel::test {

// Records which window was opened; onOpen runs while it is "open".
class FakeModalWindows final : public ModalWindows {
public:
    std::vector<std::string> opened;
    std::function<void(const std::string&)> onOpen;

    void showVideoPlayerWindow() override { open("frmVideoSet"); }

private:
    void open(const char* name) {
        opened.emplace_back(name);
        if (onOpen)
            onOpen(name);
    }
};

} // namespace zembrel::test
