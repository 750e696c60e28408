#pragma once

#include "platform/SoundPlayer.h"

#include <memory>

class QSoundEffect;

namespace zembrel {

// Wave prompts through Qt Multimedia. One sound effect plays at a time, so a new prompt stops the
// one still playing; without an audio device the effect fails quietly and nothing is heard.
class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void play(const std::string& path) override;

    // The file of the prompt last started; empty before the first.
    std::string currentPath() const;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace zembrel
