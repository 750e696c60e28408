#pragma once

#include "core/PromptPlayer.h"
#include "platform/FileSystem.h"
#include "platform/SoundPlayer.h"
#include "core/AppState.h"
#include "core/MainSurface.h"

#include <cstdint>

namespace zembrel {

// The wave file of a prompt number, or nullptr for a number that has none.
const char* promptFileName(std::int16_t number);

// Starts the prompt's wave file from ProgramFolder and returns at once; silent while SoundOn is
// off, and for a file that is missing.
void PlayPrompt(const AppState& state, std::int16_t number, FileSystem& files, SoundPlayer& player);

// "&Voice Prompts": switches SoundOn and its check mark. The switch is not saved.
void ToggleVoicePrompts(AppState& state, MainSurface& window);

// The prompts of the window program: the wave files, as PlayPrompt plays them.
class WavePromptPlayer final : public PromptPlayer {
public:
    WavePromptPlayer(const AppState& state, FileSystem& files, SoundPlayer& player)
        : m_state(state), m_files(files), m_player(player) {}
    void play(std::int16_t number) override;

private:
    const AppState& m_state;
    FileSystem& m_files;
    SoundPlayer& m_player;
};

} // namespace zembrel
