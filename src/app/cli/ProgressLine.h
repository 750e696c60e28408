#pragma once

#include "platform/Ui.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace zembrel {

// How far the work on a file has come, on one line of a terminal that it rewrites, once the
// work has taken longer than a second. Without a terminal it shows nothing.
class ProgressLine final : public EventPump {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    explicit ProgressLine(std::ostream* terminal, Clock clock = std::chrono::steady_clock::now)
        : m_terminal(terminal), m_clock(std::move(clock)) {}

    void processEvents() override {}
    void reportProgress(std::uint64_t done, std::uint64_t total) override;
    // The work on one file begins: what is done, to which file.
    void begin(const std::string& what);
    // Rubs the line out, so that a message or the next file starts on a clean line.
    void clear();

private:
    std::ostream* m_terminal;
    Clock m_clock;
    std::string m_what;
    std::chrono::steady_clock::time_point m_start{};
    int m_shownPercent = -1;
    std::size_t m_width = 0;
};

} // namespace zembrel
