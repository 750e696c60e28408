#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zembrel {

// The main window's place on the screens, the same for both renderers. Settings hold the
// frame's top-left corner in twips (1440 to the inch); a renderer works in pixels at its dots
// per inch.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A stored position may hold any number: the pixel position it stands for, sane.
int pixelPosition(float twips, int dpi);

// The position to store for a window at pixels: the stored twips themselves while the window
// stays where they put it (no drift from rounding), else the pixels in twips.
float positionTwips(int pixels, float storedTwips, int dpi);

// Where the frame goes so that its title bar can be reached: nothing when a strip of it shows on
// a work area (screen less task bars), else the frame moved onto the work area nearest to it.
std::optional<PixelPoint> keepTitleBarOnScreen(const PixelRect& frame,
                                               const std::vector<PixelRect>& workAreas);

// The progress bar's rule: hidden for the first half second of reading a file, so that quick
// work does not flicker (the time a dialog or the splash stays up does not count); afterwards
// the part done, in thousandths.
class ProgressRule {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    explicit ProgressRule(Clock clock = std::chrono::steady_clock::now)
        : m_clock(std::move(clock)) {}

    // An operation begins: its first report starts the clock.
    void start() { m_started = false; }
    // What the bar shows after done of total bytes: the thousandths, or nothing (hidden). A
    // report that goes back, or of another length, is another file or pass: its clock starts.
    std::optional<int> shown(std::uint64_t done, std::uint64_t total);

private:
    Clock m_clock;
    std::chrono::steady_clock::time_point m_start{};
    bool m_started = false;
    std::uint64_t m_done = 0;
    std::uint64_t m_total = 0;
};

} // namespace zembrel
