#pragma once

#include <chrono>

namespace zembrel {

// Decides when a yield of the logic lets the window system run its events: only when about
// 15 ms have passed since the last run, since the logic yields once per line and a file of a
// hundred million lines must not pay for a hundred million event-loop runs. The clock is read
// only every so many calls, a number that adapts so that a read comes about every millisecond
// of work: a yield then costs a counter increment, whether lines are short or long. Every event
// pump of a window back end uses it.
class EventThrottle {
public:
    static constexpr std::chrono::milliseconds kInterval{15};

    // True when the events are to run now; the caller runs them and then calls ran().
    bool due() {
        if (++m_calls < m_stride)
            return false;
        m_calls = 0;
        const auto now = Clock::now();
        const auto sinceRead = now - m_lastRead;
        if (sinceRead > std::chrono::milliseconds(2) && m_stride > 1)
            m_stride /= 2;
        else if (sinceRead < std::chrono::microseconds(500) && m_stride < kMaxStride)
            m_stride *= 2;
        m_lastRead = now;
        return now - m_lastRun >= kInterval;
    }
    void ran() {
        ++m_runs;
        m_lastRun = m_lastRead = Clock::now();
    }

    // How many calls pass between two readings of the clock, and how many runs were due.
    unsigned stride() const { return m_stride; }
    long runs() const { return m_runs; }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr unsigned kMaxStride = 4096;

    unsigned m_calls = 0;
    unsigned m_stride = 1;
    long m_runs = 0;
    Clock::time_point m_lastRead{};
    Clock::time_point m_lastRun{};
};

} // namespace zembrel
