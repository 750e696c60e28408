#include "media/VoicePrompts.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

class VoicePromptsTest : public ::testing::Test {
protected:
    VoicePromptsTest() {
        state.ProgramFolder = "/opt/zembrel/";
        for (const char* name :
             {"Error.wav", "AComplete.wav", "start.wav", "POBS.wav", "XERCreated.wav"})
            files.files[state.ProgramFolder + name] = "RIFF";
    }
    AppState state;
    test::FakeFileSystem files;
    test::FakeSoundPlayer player;
};

TEST_F(VoicePromptsTest, EachNumberPlaysItsFileFromTheProgramFolder) {
    state.SoundOn = true;
    for (const std::int16_t n : {prompt::Error, prompt::AnalysisComplete, prompt::PurgeStarted,
                                 prompt::ChooseFile, prompt::XerCreated})
        PlayPrompt(state, n, files, player);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"/opt/zembrel/Error.wav", "/opt/zembrel/AComplete.wav",
                                        "/opt/zembrel/start.wav", "/opt/zembrel/POBS.wav",
                                        "/opt/zembrel/XERCreated.wav"}));
}

TEST_F(VoicePromptsTest, MissingFileOrUnknownNumberIsSkippedSilently) {
    state.SoundOn = true;
    files.files.erase("/opt/zembrel/start.wav");
    PlayPrompt(state, prompt::PurgeStarted, files, player);
    PlayPrompt(state, 12, files, player);
    EXPECT_TRUE(player.played.empty());
    PlayPrompt(state, prompt::XerCreated, files, player);
    EXPECT_EQ(player.played, std::vector<std::string>{"/opt/zembrel/XERCreated.wav"});
}

TEST_F(VoicePromptsTest, ToggleFlipsTheSwitchAndItsCheckMark) {
    test::FakeSurface window;
    ToggleVoicePrompts(state, window);
    EXPECT_TRUE(state.SoundOn);
    EXPECT_TRUE(window.voiceChecked);
    ToggleVoicePrompts(state, window);
    EXPECT_FALSE(state.SoundOn);
    EXPECT_FALSE(window.voiceChecked);
}

TEST_F(VoicePromptsTest, WavePlayerFollowsTheSwitchAsItIsNow) {
    WavePromptPlayer prompts(state, files, player);
    PromptPlayer& asPromptPlayer = prompts;
    asPromptPlayer.play(prompt::ChooseFile);
    EXPECT_TRUE(player.played.empty());
    state.SoundOn = true;
    asPromptPlayer.play(prompt::ChooseFile);
    EXPECT_EQ(player.played, std::vector<std::string>{"/opt/zembrel/POBS.wav"});
}

} // namespace
} // namespace zembrel
