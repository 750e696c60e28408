#include "shell/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace zembrel {

namespace {

// The title bar's height that must show, and how much of it.
constexpr int kTitleBar = 30;
constexpr int kSeenWidth = 40;
constexpr int kSeenHeight = 10;

double distanceToArea(const PixelRect& area, int x, int y) {
    const double dx = std::max({area.left - x, 0, x - (area.left + area.width - 1)});
    const double dy = std::max({area.top - y, 0, y - (area.top + area.height - 1)});
    return std::hypot(dx, dy);
}

bool titleBarShows(const PixelRect& frame, const PixelRect& area) {
    const int barBottom = frame.top + std::min(frame.height, kTitleBar);
    const int left = std::max(frame.left, area.left);
    const int right = std::min(frame.left + frame.width, area.left + area.width);
    const int top = std::max(frame.top, area.top);
    const int bottom = std::min(barBottom, area.top + area.height);
    return right - left >= kSeenWidth && bottom - top >= kSeenHeight;
}

} // namespace

int pixelPosition(float twips, int dpi) {
    if (std::isnan(twips))
        return 0;
    const double pixels = std::round(double(twips) * dpi / 1440.0);
    return static_cast<int>(std::clamp(pixels, -1.0e6, 1.0e6));
}

float positionTwips(int pixels, float storedTwips, int dpi) {
    if (pixels == pixelPosition(storedTwips, dpi))
        return storedTwips;
    return static_cast<float>(double(pixels) * 1440.0 / dpi);
}

std::optional<PixelPoint> keepTitleBarOnScreen(const PixelRect& frame,
                                               const std::vector<PixelRect>& workAreas) {
    const PixelRect* nearest = nullptr;
    double nearestDistance = 0;
    const int cx = frame.left + frame.width / 2;
    const int cy = frame.top + frame.height / 2;
    for (const PixelRect& area : workAreas) {
        if (titleBarShows(frame, area))
            return std::nullopt;
        const double distance = distanceToArea(area, cx, cy);
        if (!nearest || distance < nearestDistance) {
            nearest = &area;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return std::nullopt;
    const PixelRect& a = *nearest;
    const int x = std::max(a.left, std::min(frame.left, a.left + a.width - frame.width));
    const int y = std::max(a.top, std::min(frame.top, a.top + a.height - frame.height));
    return PixelPoint{x, y};
}

std::optional<int> ProgressRule::shown(std::uint64_t done, std::uint64_t total) {
    const auto now = m_clock();
    if (!m_started || done < m_done || total != m_total) {
        m_start = now;
        m_started = true;
    }
    m_done = done;
    m_total = total;
    if (total == 0 || now - m_start < std::chrono::milliseconds(500))
        return std::nullopt;
    return static_cast<int>(std::min(done, total) * 1000 / total);
}

} // namespace zembrel
