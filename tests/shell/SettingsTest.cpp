#include "shell/Settings.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeServices.h"
#include "shell/WindowPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

namespace zembrel {
namespace {

constexpr const char* kSettings = "/data/ZembrelPOBS.INI";
constexpr const char* kSuite = "/data/Zembrel.INI";

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        state.SettingsFile = kSettings;
        state.SuiteSettingsFile = kSuite;
        fake.platform.paths = paths;
    }
    // Stores a key by name: TOP and LEFT in the own file, the others in the suite's.
    void store(const std::string& key, const std::string& value) {
        const bool own = key == "TOP" || key == "LEFT";
        profile.set(own ? kSettings : kSuite, own ? "OPEN" : "CONFIGURE", key, value);
    }
    void read() { ReadSettings(state, window, profile, paths); }

    AppState state;
    test::FakeSurface window;
    test::FakeProfileStore profile;
    test::FakePlatform fake;
    test::FakeFileSystem& files = fake.files;
    PathRules paths = PathRules::posix("/home/ann");
};

TEST_F(SettingsTest, EachKeyIsAppliedByItsRule) {
    const struct {
        const char* what;
        std::map<std::string, std::string> stored;
        float top, left;
        bool soundOn;
        std::string folder;
    } cases[] = {
        // clang-format off
        {"no files: the defaults", {}, 1785, 1410, true, "/home/ann/"},
        {"only FALSE switches prompts off", {{"SOUND_ON", "FALSE"}}, 1785, 1410, false, "/home/ann/"},
        {"false in other cases does not", {{"SOUND_ON", "false"}}, 1785, 1410, true, "/home/ann/"},
        {"nor False, nor FALSE with more", {{"SOUND_ON", "FALSE."}}, 1785, 1410, true, "/home/ann/"},
        {"empty values keep what was",
         {{"TOP", ""}, {"LEFT", ""}, {"SOUND_ON", ""}, {"XER_LOCATION", ""}}, 5, 6, false, "/jobs/"},
        {"a position is the number its text begins with",
         {{"TOP", "abc"}, {"LEFT", " 1785"}, {"XER_LOCATION", "/srv/x/"}}, 0, 1785, true, "/srv/x/"},
        {"a position the window cannot take is skipped",
         {{"TOP", "1e40"}, {"LEFT", "-0"}, {"SOUND_ON", "FALSE"}}, 5, 0, false, "/home/ann/"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        profile.values.clear();
        for (const auto& [key, value] : c.stored)
            store(key, value);
        window.setPosition(5, 6);
        state.SoundOn = false;
        state.XerFolder = "/jobs/";
        read();
        EXPECT_EQ(window.topTwips, c.top);
        EXPECT_EQ(window.leftTwips, c.left);
        EXPECT_FALSE(std::signbit(window.leftTwips));
        EXPECT_EQ(state.SoundOn, c.soundOn);
        EXPECT_EQ(state.XerFolder, c.folder);
    }
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOfTheText) {
    const std::pair<const char*, float> cases[] = {
        {"1785", 1785.0f}, {"  1410", 1410.0f}, {"-20", -20.0f},  {"+7", 7.0f},
        {"12.5px", 12.5f}, {".5", 0.5f},        {"5.", 5.0f},     {"1E3", 1000.0f},
        {"2e+2", 200.0f},  {"1e", 1.0f},        {"1e-60", 0.0f},  {"3.4e38", 3.4e38f},
        {"", 0.0f},        {"-", 0.0f},         {".", 0.0f},      {"x12", 0.0f},
        {"0.0.5", 0.0f},   {"00012", 12.0f},    {"0.00e5", 0.0f}, {"1 2", 1.0f},
        {"-0", 0.0f},      {"-0.0e7", 0.0f},    {"-1e-46", 0.0f},
    };
    for (const auto& [text, expected] : cases) {
        const auto value = leadingNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, expected) << text;
        EXPECT_FALSE(std::signbit(*value) && expected == 0) << text;
    }
    for (const char* text : {"1e40", "-1e40", "3.5e38", "1e400", "1e99999999999999999999",
                             "100000000000000000000000000000000000000000000000000"})
        EXPECT_FALSE(leadingNumber(text).has_value()) << text;
}

// Top, then left, in the own file; one blank before a number that is not negative, a fraction
// only when there is one; a position that is no number is not saved.
TEST_F(SettingsTest, TheWindowPositionIsSavedTopThenLeftUnlessItIsNoNumber) {
    const std::pair<float, const char*> cases[] = {{1785.0f, " 1785"}, {-20.0f, "-20"},
                                                   {12.5f, " 12.5"},   {-0.0f, " 0"},
                                                   {0.1f, " 0.1"},     {1e10f, " 10000000000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(positionText(value), text);
    window.setPosition(1785, -20.5f);
    SaveWindowPosition(state, window, profile);
    window.setPosition(std::numeric_limits<float>::quiet_NaN(), 7);
    SaveWindowPosition(state, window, profile);
    std::vector<std::string> written;
    for (const auto& w : profile.writes)
        written.push_back(w.file + " [" + w.section + "] " + w.key + "=" + w.value);
    EXPECT_EQ(written, (std::vector<std::string>{"/data/ZembrelPOBS.INI [OPEN] TOP= 1785",
                                                 "/data/ZembrelPOBS.INI [OPEN] LEFT=-20.5",
                                                 "/data/ZembrelPOBS.INI [OPEN] LEFT= 7"}));
}

TEST_F(SettingsTest, ResetAsksThenDeletesTheOwnFileAndReadsTheSettingsAgain) {
    const std::string question = "Are you sure that you want to reset all program settings?";
    const struct {
        const char* what;
        MessageAnswer answer;
        bool ownFile;
        int removeFailure;  // 0: none
        std::string second; // the second box, or none
        bool reread;
    } cases[] = {
        // clang-format off
        {"No touches nothing", MessageAnswer::No, true, 0, "", false},
        {"Yes resets", MessageAnswer::Yes, true, 0, "Program settings have been reset.", true},
        {"without an own file too", MessageAnswer::Yes, false, 53, "Program settings have been reset.", true},
        {"a file that stays is reported", MessageAnswer::Yes, true, 70, "ERROR #70, Permission denied.", false},
        // clang-format on
    };
    profile.fileExists = [this](const std::string& f) { return files.fileExists(f); };
    store("TOP", "5");
    store("SOUND_ON", "FALSE");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        files.files = {{kSuite, "[CONFIGURE]\r\n"}};
        if (c.ownFile)
            files.files[kSettings] = "[OPEN]\r\nTOP= 5\r\n";
        files.failWith = nullptr;
        if (c.removeFailure)
            files.fail(test::FakeFileSystem::Op::Remove, c.removeFailure);
        fake.boxes.shown.clear();
        fake.boxes.answers = {c.answer};
        window.setPosition(5, 9);
        state.SoundOn = true;
        window.voiceChecked = true;
        ResetSettings(state, window, profile, fake.platform);
        test::expectBox(fake.boxes.shown.at(0), question, MessageIcon::Question,
                        MessageButtons::YesNo);
        ASSERT_EQ(fake.boxes.shown.size(), c.second.empty() ? 1u : 2u);
        if (!c.second.empty())
            test::expectBox(fake.boxes.shown[1], c.second,
                            c.reread ? MessageIcon::Information : MessageIcon::None);
        EXPECT_EQ(files.files.count(kSettings) == 1, c.ownFile && !c.reread);
        EXPECT_EQ(files.files.at(kSuite), "[CONFIGURE]\r\n");
        // The settings are read again (the own file's place is gone); the check mark follows the
        // switch read again.
        EXPECT_EQ(window.topTwips, c.reread ? 1785.0f : 5.0f);
        EXPECT_EQ(state.SoundOn, !c.reread);
        EXPECT_EQ(window.voiceChecked, !c.reread);
    }
}

// The main window's place, the same rule for both renderers, and the progress bar's rule.
TEST(WindowPlacementTest, SanePixelsReadBackAsStoredWithTheTitleBarOnAScreen) {
    EXPECT_EQ(pixelPosition(1785.4f, 96), 119);
    EXPECT_EQ(pixelPosition(1785.4f, 144), 179); // 150 % scaling
    EXPECT_EQ(pixelPosition(std::nanf(""), 96), 0);
    EXPECT_EQ(pixelPosition(1e30f, 96), 1000000);
    EXPECT_EQ(pixelPosition(-1e30f, 96), -1000000);
    // While the window stays where the stored twips put it, they read back unchanged.
    EXPECT_EQ(positionTwips(119, 1785.4f, 96), 1785.4f);
    EXPECT_EQ(positionTwips(120, 1785.4f, 96), 1800.0f);
    EXPECT_EQ(positionTwips(-20, 0.0f, 96), -300.0f);
    // A title bar off every screen comes back to the nearest.
    const std::vector<PixelRect> screens{{0, 0, 1024, 738}, {1024, 0, 1280, 1000}};
    const PixelRect size{0, 0, 400, 300};
    const auto at = [&](int left, int top) {
        return PixelRect{left, top, size.width, size.height};
    };
    const struct {
        PixelRect frame;
        std::optional<PixelPoint> moved;
    } cases[] = {
        {at(100, 100), std::nullopt},
        {at(-360, 100), std::nullopt},          // 40 pixels of the title bar show
        {at(-361, 100), PixelPoint{0, 100}},    // 39 do not
        {at(100, -21), PixelPoint{100, 0}},     // 9 rows of it
        {at(100, -20), std::nullopt},           // 10 rows
        {at(3000, 50), PixelPoint{1904, 50}},   // right of both: onto the nearer one
        {at(900, 995), PixelPoint{1024, 700}},  // below both, the second is nearer
        {at(-48000, -48000), PixelPoint{0, 0}}, // where a minimised window was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.frame.left) + "," + std::to_string(c.frame.top));
        EXPECT_EQ(keepTitleBarOnScreen(c.frame, screens), c.moved);
    }
    EXPECT_EQ(keepTitleBarOnScreen(at(-5000, 0), {}), std::nullopt); // no screen to go to
}

TEST(WindowPlacementTest, TheProgressBarShowsAfterHalfASecondOfReading) {
    std::chrono::steady_clock::time_point now{};
    ProgressRule rule([&] { return now; });
    rule.start();
    now += std::chrono::seconds(5); // the splash and the dialog: not reading yet
    EXPECT_EQ(rule.shown(10, 100), std::nullopt);
    now += std::chrono::milliseconds(499);
    EXPECT_EQ(rule.shown(20, 100), std::nullopt);
    now += std::chrono::milliseconds(1);
    EXPECT_EQ(rule.shown(30, 100), 300);
    EXPECT_EQ(rule.shown(150, 100), 1000);        // a file that grew shows full, not more
    EXPECT_EQ(rule.shown(10, 100), std::nullopt); // the next pass starts its own half second
    rule.start();                                 // and so does the next operation
    now += std::chrono::seconds(1);
    EXPECT_EQ(rule.shown(50, 150), std::nullopt);
    EXPECT_EQ(rule.shown(60, 0), std::nullopt);
}

} // namespace
} // namespace zembrel
