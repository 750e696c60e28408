#include "media/VoicePrompts.h"

namespace zembrel {

const char* promptFileName(std::int16_t number) {
    switch (number) {
    case prompt::Error: return "Error.wav";
    case prompt::AnalysisComplete: return "AComplete.wav";
    case prompt::PurgeStarted: return "start.wav";
    case prompt::ChooseFile: return "POBS.wav";
    case prompt::XerCreated: return "XERCreated.wav";
    default: return nullptr;
    }
}

void PlayPrompt(const AppState& state, std::int16_t number, FileSystem& files,
                SoundPlayer& player) {
    const char* name = promptFileName(number);
    if (name == nullptr || !state.SoundOn)
        return;
    const std::string path = state.ProgramFolder + name;
    if (!files.fileExists(path))
        return;
    player.play(path);
}

void ToggleVoicePrompts(AppState& state, MainSurface& window) {
    state.SoundOn = !state.SoundOn;
    window.setVoiceChecked(state.SoundOn);
}

void WavePromptPlayer::play(std::int16_t number) {
    PlayPrompt(m_state, number, m_files, m_player);
}

} // namespace zembrel
