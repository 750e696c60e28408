// The main window's place, the same rule for both renderers, and the progress bar's rule.
#include "shell/WindowPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zembrel {
namespace {

TEST(WindowPlacementTest, TwipsBecomeSanePixelsAndReadBackAsStored) {
    EXPECT_EQ(pixelPosition(1785.4f, 96), 119);
    EXPECT_EQ(pixelPosition(1785.4f, 144), 179); // 150 % scaling
    EXPECT_EQ(pixelPosition(std::nanf(""), 96), 0);
    EXPECT_EQ(pixelPosition(1e30f, 96), 1000000);
    EXPECT_EQ(pixelPosition(-1e30f, 96), -1000000);
    // While the window stays where the stored twips put it, they read back unchanged.
    EXPECT_EQ(positionTwips(119, 1785.4f, 96), 1785.4f);
    EXPECT_EQ(positionTwips(120, 1785.4f, 96), 1800.0f);
    EXPECT_EQ(positionTwips(-20, 0.0f, 96), -300.0f);
}

TEST(WindowPlacementTest, ATitleBarOffEveryScreenComesBackToTheNearest) {
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
