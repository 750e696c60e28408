#include "platform/qt/QtSoundPlayer.h"
#include "TempFolder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdint>

namespace zembrel {
namespace {

// A short silent 8-bit mono wave file.
std::string waveFile(std::size_t samples) {
    auto le = [](std::uint32_t v, int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xff);
        return s;
    };
    const auto size = static_cast<std::uint32_t>(samples);
    return "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) +
           le(8000, 4) + le(1, 2) + le(8, 2) + "data" + le(size, 4) + std::string(samples, '\x80');
}

void letEventsRun() {
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

TEST(QtSoundPlayerTest, NewPromptTakesThePlaceOfTheOnePlaying) {
    test::TempFolder dir;
    const auto first = dir.write("POBS.wav", waveFile(8000));
    const auto second = dir.write("start.wav", waveFile(800));
    QtSoundPlayer player;
    EXPECT_EQ(player.currentPath(), "");
    player.play(first);
    letEventsRun();
    player.play(second);
    letEventsRun();
    EXPECT_EQ(player.currentPath(), second);
}

TEST(QtSoundPlayerTest, FilesThatCannotBePlayedStaySilent) {
    test::TempFolder dir;
    const auto noise = dir.write("Error.wav", "not a wave file");
    const auto spaced = dir.write("with space.wav", waveFile(10));
    QtSoundPlayer player;
    for (const auto& path : {noise, dir.file("missing.wav"), spaced}) {
        player.play(path);
        letEventsRun();
        EXPECT_EQ(player.currentPath(), path);
    }
}

} // namespace
} // namespace zembrel
