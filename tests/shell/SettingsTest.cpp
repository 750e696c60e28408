#include "shell/Settings.h"
#include "TempFolder.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfileStore.h"
#include "fakes/FakeUi.h"
#include "media/VoicePrompts.h"
#include "platform/posix/PosixProfileStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

namespace zembrel {
namespace {

constexpr const char* kSettings = "/data/ZembrelPOBS.INI";
constexpr const char* kSuite = "/data/Zembrel.INI";

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        state.SettingsFile = kSettings;
        state.SuiteSettingsFile = kSuite;
    }
    void setTop(const std::string& v) { profile.set(kSettings, "OPEN", "TOP", v); }
    void setSound(const std::string& v) { profile.set(kSuite, "CONFIGURE", "SOUND_ON", v); }

    AppState state;
    test::FakeSurface window;
    test::FakeProfileStore profile;
    test::FakeFileSystem files;
    test::FakeBoxes boxes;
    test::FakeEvents events;
    test::FakePointer pointer;
    PathRules paths = PathRules::posix("/home/ann");
    Platform platform{files, boxes, events, pointer, 1024, paths};
};

TEST_F(SettingsTest, WithoutFilesTheDefaultsApplyInTheKeysOrder) {
    ReadSettings(state, window, profile, paths);
    EXPECT_EQ(window.topTwips, 1785.0f);
    EXPECT_EQ(window.leftTwips, 1410.0f);
    EXPECT_TRUE(state.SoundOn);
    EXPECT_EQ(state.XerFolder, "/home/ann/");
    ASSERT_EQ(profile.reads.size(), 4u);
    const char* keys[] = {"TOP", "LEFT", "SOUND_ON", "XER_LOCATION"};
    const char* sections[] = {"OPEN", "OPEN", "CONFIGURE", "CONFIGURE"};
    const char* filesRead[] = {kSettings, kSettings, kSuite, kSuite};
    const char* defaults[] = {"1785", "1410", "TRUE", "/home/ann/"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(profile.reads[i].key, keys[i]);
        EXPECT_EQ(profile.reads[i].section, sections[i]);
        EXPECT_EQ(profile.reads[i].file, filesRead[i]);
        EXPECT_EQ(profile.reads[i].defaultValue, defaults[i]);
        EXPECT_EQ(profile.reads[i].bufferSize, 1000u);
    }
}

TEST_F(SettingsTest, TheDefaultXerFolderIsThePlatforms) {
    ReadSettings(state, window, profile, PathRules::windows());
    EXPECT_EQ(state.XerFolder, "C:\\");
}

TEST_F(SettingsTest, OnlyUpperCaseFalseSwitchesPromptsOff) {
    for (const char* on : {"false", "False", "TRUE", "no", "0", "FALSE."}) {
        state.SoundOn = false;
        setSound(on);
        ReadSettings(state, window, profile, paths);
        EXPECT_TRUE(state.SoundOn) << on;
    }
    setSound("FALSE");
    ReadSettings(state, window, profile, paths);
    EXPECT_FALSE(state.SoundOn);
}

TEST_F(SettingsTest, EmptyValuesKeepWhatTheSettingHad) {
    setTop("");
    profile.set(kSettings, "OPEN", "LEFT", "");
    setSound("");
    profile.set(kSuite, "CONFIGURE", "XER_LOCATION", "");
    window.setPosition(5, 6);
    state.XerFolder = "/jobs/";
    ReadSettings(state, window, profile, paths);
    EXPECT_FALSE(state.SoundOn);
    EXPECT_EQ(state.XerFolder, "/jobs/");
    EXPECT_EQ(window.topTwips, 5.0f);
    EXPECT_EQ(window.leftTwips, 6.0f);

    state.SoundOn = true;
    ReadSettings(state, window, profile, paths);
    EXPECT_TRUE(state.SoundOn);
}

TEST_F(SettingsTest, PositionsTakeTheNumberTheTextBeginsWith) {
    setTop("abc");
    profile.set(kSettings, "OPEN", "LEFT", " 1785");
    ReadSettings(state, window, profile, paths);
    EXPECT_EQ(window.topTwips, 0.0f);
    EXPECT_EQ(window.leftTwips, 1785.0f);
}

TEST_F(SettingsTest, PositionThatCannotBeAppliedIsSkippedAndTheNextKeyRead) {
    window.setPosition(100, 200);
    setTop("1e40");
    profile.set(kSettings, "OPEN", "LEFT", "-0");
    setSound("FALSE");
    state.SoundOn = true;
    ReadSettings(state, window, profile, paths);
    EXPECT_EQ(window.topTwips, 100.0f);
    EXPECT_EQ(window.leftTwips, 0.0f);
    EXPECT_FALSE(std::signbit(window.leftTwips));
    EXPECT_FALSE(state.SoundOn);
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOfTheText) {
    const std::pair<const char*, float> cases[] = {
        {"1785", 1785.0f}, {"  1410", 1410.0f}, {"-20", -20.0f},  {"+7", 7.0f},
        {"12.5px", 12.5f}, {".5", 0.5f},        {"5.", 5.0f},     {"1E3", 1000.0f},
        {"2e+2", 200.0f},  {"1e", 1.0f},        {"1e-60", 0.0f},  {"3.4e38", 3.4e38f},
        {"", 0.0f},        {"-", 0.0f},         {".", 0.0f},      {"x12", 0.0f},
        {"0.0.5", 0.0f},   {"00012", 12.0f},    {"0.00e5", 0.0f}, {"1 2", 1.0f},
    };
    for (const auto& [text, expected] : cases) {
        const auto value = leadingNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, expected) << text;
    }
    EXPECT_FALSE(std::signbit(*leadingNumber("-0")));
    EXPECT_FALSE(std::signbit(*leadingNumber("-0.0e7")));
    EXPECT_FALSE(std::signbit(*leadingNumber("-1e-46")));
}

TEST(LeadingNumberTest, NumbersBeyondSinglePrecisionCannotBeApplied) {
    for (const char* text : {"1e40", "-1e40", "3.5e38", "1e400", "1e99999999999999999999",
                             "100000000000000000000000000000000000000000000000000"})
        EXPECT_FALSE(leadingNumber(text).has_value()) << text;
}

TEST(PositionTextTest, OneBlankBeforeNonNegativeNumbersAndAFractionOnlyWhenThereIsOne) {
    EXPECT_EQ(positionText(1785.0f), " 1785");
    EXPECT_EQ(positionText(-20.0f), "-20");
    EXPECT_EQ(positionText(12.5f), " 12.5");
    EXPECT_EQ(positionText(-0.0f), " 0");
    EXPECT_EQ(positionText(0.1f), " 0.1");
    EXPECT_EQ(positionText(1e10f), " 10000000000");
}

TEST_F(SettingsTest, WindowPositionIsSavedTopThenLeft) {
    window.setPosition(1785, -20.5f);
    SaveWindowPosition(state, window, profile);
    ASSERT_EQ(profile.writes.size(), 2u);
    EXPECT_EQ(profile.writes[0].key, "TOP");
    EXPECT_EQ(profile.writes[0].value, " 1785");
    EXPECT_EQ(profile.writes[1].key, "LEFT");
    EXPECT_EQ(profile.writes[1].value, "-20.5");
    for (const auto& w : profile.writes) {
        EXPECT_EQ(w.section, "OPEN");
        EXPECT_EQ(w.file, kSettings);
    }
}

TEST_F(SettingsTest, PositionThatIsNoNumberIsNotSaved) {
    window.setPosition(std::numeric_limits<float>::quiet_NaN(), 7);
    SaveWindowPosition(state, window, profile);
    ASSERT_EQ(profile.writes.size(), 1u);
    EXPECT_EQ(profile.writes[0].key, "LEFT");
}

class ResetTest : public SettingsTest {
protected:
    ResetTest() {
        files.files[kSettings] = "[OPEN]\r\nTOP= 5\r\n";
        files.files[kSuite] = "[CONFIGURE]\r\n";
        profile.fileExists = [this](const std::string& f) { return files.fileExists(f); };
        setTop("5");
        window.setPosition(5, 9);
    }
    void reset() { ResetSettings(state, window, profile, platform); }
};

TEST_F(ResetTest, AnsweredNoTouchesNothing) {
    boxes.answers.push_back(MessageAnswer::No);
    reset();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Are you sure that you want to reset all program settings?");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(boxes.shown[0].title, "Plovard");
    EXPECT_TRUE(files.files.count(kSettings));
    EXPECT_TRUE(profile.reads.empty());
    EXPECT_EQ(window.topTwips, 5.0f);
}

TEST_F(ResetTest, YesDeletesTheOwnFileAndReadsTheSettingsAgain) {
    setSound("TRUE");
    state.SoundOn = true;
    window.voiceChecked = true;
    ToggleVoicePrompts(state, window);
    reset();
    EXPECT_FALSE(files.files.count(kSettings));
    EXPECT_EQ(files.files.at(kSuite), "[CONFIGURE]\r\n");
    EXPECT_EQ(window.topTwips, 1785.0f);
    EXPECT_EQ(window.leftTwips, 1410.0f);
    EXPECT_TRUE(state.SoundOn);
    EXPECT_TRUE(window.voiceChecked);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Program settings have been reset.");
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes.shown[1].icon, MessageIcon::Information);
    EXPECT_EQ(boxes.shown[1].title, "Plovard");
}

TEST_F(ResetTest, CheckMarkFollowsTheRereadSwitch) {
    setSound("FALSE");
    state.SoundOn = true;
    window.voiceChecked = true;
    reset();
    EXPECT_FALSE(state.SoundOn);
    EXPECT_FALSE(window.voiceChecked);
}

TEST_F(ResetTest, WithoutOwnFileNothingIsDeletedAndTheResetIsReported) {
    files.files.erase(kSettings);
    files.fail(test::FakeFileSystem::Op::Remove, failure::FileNotFound);
    reset();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Program settings have been reset.");
    EXPECT_EQ(profile.reads.size(), 4u);
    EXPECT_EQ(files.files.at(kSuite), "[CONFIGURE]\r\n");
}

TEST_F(ResetTest, OwnFileThatCannotBeDeletedIsReportedNotCalledReset) {
    files.fail(test::FakeFileSystem::Op::Remove, failure::PermissionDenied);
    reset();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "ERROR #70, Permission denied.");
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::Ok);
    EXPECT_TRUE(profile.reads.empty());
    EXPECT_EQ(window.topTwips, 5.0f);
}

// What the program writes reads back through the profile rules as what it wrote.
TEST(SettingsFileTest, WrittenSettingsReadBack) {
    test::TempFolder dir;
    PosixProfileStore store;
    AppState state;
    state.SettingsFile = dir.file("ZembrelPOBS.INI");
    state.SuiteSettingsFile = dir.file("Zembrel.INI");
    std::ofstream(state.SuiteSettingsFile, std::ios::binary)
        << "[CONFIGURE]\r\nSOUND_ON=FALSE\r\nOTHER=keep me\r\n";
    test::FakeSurface window;
    const std::pair<float, float> positions[] = {{1785, 1410}, {-20.25f, 0.1f}, {1e10f, -0.0f}};
    for (const auto& [top, left] : positions) {
        window.setPosition(top, left);
        SaveWindowPosition(state, window, store);
        window.setPosition(1, 1);
        ASSERT_TRUE(writeSetting(store, "CONFIGURE", "XER_LOCATION", "/home/me/team settings/",
                                 state.SuiteSettingsFile));
        ReadSettings(state, window, store, PathRules::posix("/home/me"));
        EXPECT_EQ(window.topTwips, top);
        EXPECT_EQ(window.leftTwips, left);
    }
    for (const char* folder : {"/home/a\nb/", "/home/a\rb/"})
        EXPECT_FALSE(
            writeSetting(store, "CONFIGURE", "XER_LOCATION", folder, state.SuiteSettingsFile));
    EXPECT_EQ(state.XerFolder, "/home/me/team settings/");
    EXPECT_FALSE(state.SoundOn);
    EXPECT_EQ(test::TempFolder::read(state.SuiteSettingsFile),
              "[CONFIGURE]\r\nSOUND_ON=FALSE\r\nOTHER=keep me\r\n"
              "XER_LOCATION=/home/me/team settings/\r\n");
    EXPECT_EQ(test::TempFolder::read(state.SettingsFile),
              "[OPEN]\r\nTOP= 10000000000\r\nLEFT= 0\r\n");
}

} // namespace
} // namespace zembrel
