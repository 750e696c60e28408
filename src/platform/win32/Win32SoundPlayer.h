#pragma once

#include "platform/SoundPlayer.h"

namespace zembrel {

// Wave prompts through winmm's sndPlaySoundA, which stops a sound still playing by itself.
class Win32SoundPlayer final : public SoundPlayer {
public:
    void play(const std::string& path) override;
};

} // namespace zembrel
