#pragma once

#include <cstdint>

namespace zembrel {

// Plays a numbered voice prompt and returns at once. The window plays the prompt's wave file
// when voice prompts are on; the command-line companion stays silent.
class PromptPlayer {
public:
    virtual ~PromptPlayer() = default;
    virtual void play(std::int16_t number) = 0;
};

namespace prompt {
inline constexpr std::int16_t Error = 9;
inline constexpr std::int16_t AnalysisComplete = 11;
inline constexpr std::int16_t PurgeStarted = 47;
inline constexpr std::int16_t ChooseFile = 50;
inline constexpr std::int16_t XerCreated = 51;
} // namespace prompt

} // namespace zembrel
