#include "media/VoicePrompts.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/FakeUi.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Paths = std::vector<std::string>;

class VoicePromptsTest : public ::testing::Test {
protected:
    VoicePromptsTest() {
        state.ProgramFolder = "/opt/zembrel/";
        for (const char* name : {"Error.wav", "AComplete.wav", "start.wav", "XERCreated.wav"})
            files.files[state.ProgramFolder + name] = "RIFF";
    }
    AppState state;
    test::FakeFileSystem files;
    test::FakeSoundPlayer player;
    WavePromptPlayer prompts{state, files, player};
};

// Each number plays its file from the program folder; a missing file (POBS.wav here) or an
// unknown number plays nothing.
TEST_F(VoicePromptsTest, EachNumberPlaysItsFileFromTheProgramFolder) {
    state.SoundOn = true;
    for (const std::int16_t n : {prompt::Error, prompt::AnalysisComplete, prompt::PurgeStarted,
                                 prompt::ChooseFile, std::int16_t{12}, prompt::XerCreated})
        PlayPrompt(state, n, files, player);
    EXPECT_EQ(player.played, (Paths{"/opt/zembrel/Error.wav", "/opt/zembrel/AComplete.wav",
                                    "/opt/zembrel/start.wav", "/opt/zembrel/XERCreated.wav"}));
}

// The wave player asks the switch at each prompt; the toggle flips it and its check mark.
TEST_F(VoicePromptsTest, PromptsFollowTheSwitchAsItIsNow) {
    test::FakeSurface window;
    prompts.play(prompt::Error);
    ToggleVoicePrompts(state, window);
    EXPECT_TRUE(state.SoundOn);
    EXPECT_TRUE(window.voiceChecked);
    prompts.play(prompt::XerCreated);
    ToggleVoicePrompts(state, window);
    EXPECT_FALSE(window.voiceChecked);
    prompts.play(prompt::Error);
    EXPECT_EQ(player.played, Paths{"/opt/zembrel/XERCreated.wav"});
}

} // namespace
} // namespace zembrel
