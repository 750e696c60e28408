#pragma once

#include <string>

namespace zembrel {

// Plays wave files without waiting. A new sound stops the one still playing; a file that cannot
// be played, or a machine without audio, gives silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& path) = 0;
};

} // namespace zembrel
