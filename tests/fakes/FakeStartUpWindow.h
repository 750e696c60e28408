#pragma once

#include "shell/StartUpWindow.h"

#include <functional>
#include <string>
#include <vector>

namespace zembrel::test {

// Records each window operation by name ("showSplash", "input off" ...), and calls
// onCall after recording, so a test can look at the state at that moment.
class FakeStartUpWindow final : public StartUpWindow {
public:
    std::vector<std::string> calls;
    std::function<void(const std::string&)> onCall;
    bool mainVisible = false;
    bool inputEnabled = true;
    bool ended = false;

    void showSplash() override { record("showSplash"); }
    void closeSplash() override { record("closeSplash"); }
    void showMainWindow() override { record("showMainWindow", mainVisible = true); }
    void setMainInputEnabled(bool enabled) override {
        record(enabled ? "input on" : "input off", inputEnabled = enabled);
    }
    void endProgram() override { record("endProgram", ended = true); }

private:
    // The state a call changes is an argument, so that it has changed when onCall runs.
    void record(const char* name, bool = false) {
        calls.push_back(name);
        if (onCall)
            onCall(calls.back());
    }
};

} // namespace zembrel::test
