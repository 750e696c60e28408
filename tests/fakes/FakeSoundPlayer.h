#pragma once

#include "platform/SoundPlayer.h"

#include <string>
#include <vector>

namespace zembrel::test {

// Records the wave files it was asked to play.
class FakeSoundPlayer final : public SoundPlayer {
public:
    std::vector<std::string> played;
    void play(const std::string& path) override { played.push_back(path); }
};

} // namespace zembrel::test
