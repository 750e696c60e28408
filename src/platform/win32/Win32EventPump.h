#pragma once

#include "platform/EventThrottle.h"
#include "platform/Ui.h"

namespace zembrel {

// Runs the pending window messages where the logic yields, as often as the throttle allows. A
// quit message met on the way asks the running operation to stop; it stays queued for the
// program's own loop.
class Win32EventPump final : public EventPump {
public:
    void processEvents() override;
    void processEventsNow() override;
    bool stopRequested() const override { return m_quit; }
    long eventRuns() const { return m_throttle.runs(); }

private:
    EventThrottle m_throttle;
    bool m_quit = false;
};

} // namespace zembrel
