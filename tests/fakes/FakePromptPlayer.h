#pragma once

#include "core/PromptPlayer.h"

#include <functional>
#include <vector>

namespace zembrel::test {

// Records the prompt numbers played.
class FakePromptPlayer final : public PromptPlayer {
public:
    std::vector<std::int16_t> played;
    std::function<void(std::int16_t)> onPlay;
    void play(std::int16_t number) override {
        played.push_back(number);
        if (onPlay)
            onPlay(number);
    }
};

} // namespace zembrel::test
