#pragma once

#include "platform/ProgramStarter.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zembrel::test {

// Records each start; fails those for which failures holds a description (in order).
class FakeProgramStarter final : public ProgramStarter {
public:
    std::vector<std::pair<std::string, Show>> started;
    std::deque<std::string> failures; // "" : the start succeeds
    std::function<void()> onStart;

    Status start(const std::string& commandLine, Show show) override {
        started.emplace_back(commandLine, show);
        if (onStart)
            onStart();
        if (failures.empty() || failures.front().empty()) {
            if (!failures.empty())
                failures.pop_front();
            return {};
        }
        Failure f{failure::FileNotFound, failures.front()};
        failures.pop_front();
        return f;
    }
};

} // namespace zembrel::test
