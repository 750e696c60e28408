#include "app/cli/ProgressLine.h"

#include <algorithm>

namespace zembrel {

void ProgressLine::begin(const std::string& what) {
    clear();
    m_what = what;
    m_start = m_clock();
}

void ProgressLine::reportProgress(std::uint64_t done, std::uint64_t total) {
    if (!m_terminal || total == 0 || m_clock() - m_start < std::chrono::seconds(1))
        return;
    const int percent = static_cast<int>(std::min(done, total) * 100 / total);
    if (percent == m_shownPercent)
        return; // a terminal is slow: write only what changes
    const std::string line = m_what + ' ' + std::to_string(percent) + " %";
    *m_terminal << '\r' << line
                << std::string(m_width > line.size() ? m_width - line.size() : 0, ' ')
                << std::flush;
    m_width = std::max(m_width, line.size());
    m_shownPercent = percent;
}

void ProgressLine::clear() {
    if (m_terminal && m_width > 0)
        *m_terminal << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
    m_width = 0;
    m_shownPercent = -1;
}

} // namespace zembrel
