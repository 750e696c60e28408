#pragma once

#include "platform/Ui.h"

#include <chrono>

namespace zembrel {

// Lets Qt process pending events where the logic yields, but only when about 15 ms have passed
// since the last time: the logic yields once per line, and a file of a hundred million lines
// must not pay for a hundred million event-loop runs. The clock is read only every so many
// calls, a number that adapts so that a read comes about every millisecond of work: a yield
// then costs a counter increment, whether lines are short or long.
class QtEventPump final : public EventPump {
public:
    static constexpr std::chrono::milliseconds kInterval{15};

    void processEvents() override;
    void processEventsNow() override;
    // How many calls pass between two readings of the clock (for tests).
    unsigned stride() const { return m_stride; }
    long eventRuns() const { return m_runs; }

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
